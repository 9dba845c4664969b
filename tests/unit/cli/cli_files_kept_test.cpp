#include <gtest/gtest.h>

#include <filesystem>
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

TEST(CliExtract, ADamagedNameStopsItBeforeAnythingIsWritten) {
  ScratchDir dir("cliextractname"), out("cliextractnameout");
  out.Write("ok.txt", TextBytes("mine"));
  const std::string bad = dir.Write(
      "bad.exe",
      testing::LayOut(TextBytes("MZ"), {{"ok.txt", TextBytes("theirs")}, {"a:b", TextBytes("y")}}));
  EXPECT_EQ(Cli({"extract", bad, out.Path()}), kExitFailure);
  EXPECT_EQ(ReadBytes(out.File("ok.txt")), TextBytes("mine"));
  EXPECT_EQ(Cli({"extract", bad, out.File("new/deeper")}), kExitFailure);
  EXPECT_FALSE(std::filesystem::exists(out.File("new")));

  // A folder made for an extraction that fails half way goes again, as long as it is empty.
  const std::string truncated =
      dir.Write("cut.exe", testing::LayOut(TextBytes("MZ"), {{"ok.txt", TextBytes("theirs")}}));
  testing::Bytes bytes = ReadBytes(truncated);
  bytes[2] ^= 0xFF;  // inside the stream: the directory still reads
  dir.Write("cut.exe", bytes);
  EXPECT_EQ(Cli({"extract", truncated, out.File("made")}), kExitFailure);
  EXPECT_FALSE(std::filesystem::exists(out.File("made")));
}

#ifndef _WIN32
TEST(CliBuild, KeepsTheControlAndTheProjectsOwnInstallerPath) {
  RegisterCompiledInStub();
  ScratchDir dir("clibuildout"), unpacked("clibuildunpacked");
  dir.Write("clock.swf", TextBytes("FWS movie"));
  dir.Write("control.bin", TextBytes("MZ control"));
  dir.Write("p.zvp",
            TextBytes("[ScreenSaver]\r\nName=Clock\r\n[Movie]\r\nSWFFile=clock.swf\r\n"
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
