// The wallpaper core against the machine's real Active Desktop object.
#include <windows.h>
#include <wininet.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "desktop_wallpaper.h"
#include "file_system.h"
#include "scripted_prompt.h"
#include "temp_dir.h"

namespace zarvane {

// Prints what the shell answers to each call the core makes, for the record.
TEST(ActiveDesktop, ShellAnswersAreReported) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  IActiveDesktop* desktop = nullptr;
  HRESULT created = CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IActiveDesktop, reinterpret_cast<void**>(&desktop));
  std::printf("CoCreateInstance(CLSID_ActiveDesktop): 0x%08lx\n", (unsigned long)created);
  if (SUCCEEDED(created)) {
    WCHAR wallpaper[1024] = L"";
    COMPONENTSOPT options = {sizeof options, 0, 0};
    std::printf("GetWallpaper: 0x%08lx\n", (unsigned long)desktop->GetWallpaper(wallpaper, 1024, 0));
    std::printf("GetDesktopItemOptions: 0x%08lx\n",
                (unsigned long)desktop->GetDesktopItemOptions(&options, 0));
    std::printf("ApplyChanges(AD_APPLY_REFRESH): 0x%08lx\n",
                (unsigned long)desktop->ApplyChanges(AD_APPLY_REFRESH));
    desktop->Release();
  }
  CoUninitialize();
}

TEST(ActiveDesktop, OperationsCompleteWhateverTheShellAnswers) {
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
  for (const auto& shown : prompt.shown) std::printf("message: %s\n", shown.text.c_str());
}

}  // namespace zarvane
