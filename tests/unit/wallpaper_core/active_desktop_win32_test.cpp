// The wallpaper core against the machine's real Active Desktop object.
#include <windows.h>
#include <wininet.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "desktop_wallpaper.h"
#include "file_system.h"
#include "scripted_prompt.h"
#include "temp_dir.h"

namespace zarvane {

// Whatever the machine's shell answers, every operation completes, and the one message is the
// one its answer to GetDesktopItemOptions calls for. The object must exist: without it the core
// takes the path that changes nothing, which the stand-in's tests cover.
TEST(ActiveDesktop, OperationsCompleteWhateverTheShellAnswers) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  IActiveDesktop* desktop = nullptr;
  HRESULT created = CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IActiveDesktop, reinterpret_cast<void**>(&desktop));
  bool optionsFail = true;
  if (SUCCEEDED(created)) {
    COMPONENTSOPT options = {sizeof options, 0, 0};
    HRESULT answer = desktop->GetDesktopItemOptions(&options, 0);
    std::printf("GetDesktopItemOptions: 0x%08lx\n", (unsigned long)answer);
    optionsFail = FAILED(answer);
    desktop->Release();
  }
  CoUninitialize();
  ASSERT_TRUE(SUCCEEDED(created)) << "CoCreateInstance(CLSID_ActiveDesktop): " << std::hex << created;

  TempDir root;
  MakeDirectory(root.Path() + "\\Web");
  MakeDirectory(root.Path() + "\\Web\\WallPaper");
  ScriptedPrompt prompt;
  DesktopWallpaper wallpaper(SystemDesktopShell(), prompt, root.Path());
  wallpaper.SetName("Probe");
  wallpaper.PrepareDesktop();
  EXPECT_FALSE(wallpaper.PrepareFolder().empty());
  EXPECT_EQ(wallpaper.Apply(), 1);
  EXPECT_TRUE(FileExists(wallpaper.GetPagePath()));
  EXPECT_EQ(wallpaper.Restore(""), 1);
  EXPECT_EQ(wallpaper.Delete(), 1);
  EXPECT_FALSE(FileExists(wallpaper.GetPagePath()));
  std::vector<std::string> messages;
  for (const auto& shown : prompt.shown) messages.push_back(shown.text);
  EXPECT_EQ(messages, optionsFail ? std::vector<std::string>{"Failed to Get Desktop Settings"}
                                  : std::vector<std::string>{});
}

}  // namespace zarvane
