#include <gtest/gtest.h>

#include <sstream>

#include "archive_test_util.h"
#include "cli_command.h"
#include "compiled_in_stub.h"

namespace zarvane {
namespace {

using testing::ReadBytes;
using testing::ScratchDir;
using testing::TextBytes;

int Cli(std::vector<std::string> args) {
  std::ostringstream out, err;
  return RunCli(args, out, err);
}

#ifndef _WIN32
TEST(CliBuild, KeepsTheControlAndTheProjectsOwnInstallerPath) {
  RegisterCompiledInStub();
  ScratchDir dir("clibuildout"), unpacked("clibuildunpacked");
  dir.Write("clock.swf", TextBytes("FWS movie"));
  dir.Write("control.bin", TextBytes("MZ control"));
  dir.Write("p.zvp", TextBytes("[ScreenSaver]\r\nName=Clock\r\n[Movie]\r\nSWFFile=clock.swf\r\n"
                               "[Installer]\r\nFlashControl=0\r\nInstallerFilePath=Clock Setup.exe\r\n"));

  // The control packed under another name is still the file the output would overwrite.
  EXPECT_EQ(Cli({"build", dir.File("p.zvp"), "--flash-ocx", dir.File("control.bin"), "-o",
                 dir.File("control.bin")}),
            kExitFailure);
  EXPECT_EQ(ReadBytes(dir.File("control.bin")), TextBytes("MZ control"));

  // Built elsewhere, the recipients' configuration tells nothing of the builder's folders.
  ASSERT_EQ(Cli({"build", dir.File("p.zvp"), "--flash-ocx", dir.File("control.bin"), "-o",
                 dir.File("Elsewhere.exe")}),
            kExitOk);
  ASSERT_EQ(Cli({"extract", dir.File("Elsewhere.exe"), unpacked.Path()}), kExitOk);
  testing::Bytes config = ReadBytes(unpacked.File("instcfg.ini"));
  std::string text(config.begin(), config.end());
  EXPECT_NE(text.find("InstallerFilePath=Clock Setup.exe\r\n"), std::string::npos) << text;
}
#endif

}  // namespace
}  // namespace zarvane
