// Drives the registered stand-in Active Desktop through COM, as the wallpaper core does, and checks
// what it recorded and remembered. Runs with its own log folder (ZARVANE_DOUBLES_DIR).
#include <windows.h>
#include <wininet.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string folder;

std::vector<std::string> Lines(const std::string& file) {
  std::ifstream in(folder + file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void WriteFile(const std::string& file, const std::string& text) {
  std::ofstream(folder + file, std::ios::binary) << text;
}

class ActiveDesktopDouble : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "zarvane-doubles-test\\";
    SetEnvironmentVariableA("ZARVANE_DOUBLES_DIR", folder.c_str());
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "desktop.log").c_str());
    DeleteFileA((folder + "desktop-state.txt").c_str());
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  }
  void TearDown() override { CoUninitialize(); }

  static IActiveDesktop* Create() {
    IActiveDesktop* desktop = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IActiveDesktop, reinterpret_cast<void**>(&desktop));
    EXPECT_EQ(hr, S_OK) << "is the stand-in registered (doubles.sh register-desktop)?";
    return SUCCEEDED(hr) ? desktop : nullptr;
  }

  static std::wstring Wallpaper(IActiveDesktop* desktop) {
    WCHAR buffer[1024] = L"unchanged";
    EXPECT_EQ(desktop->GetWallpaper(buffer, 1024, 0), S_OK);
    return buffer;
  }
};

// The calls of switching Active Desktop on and of applying a page, in order, with their arguments.
TEST_F(ActiveDesktopDouble, RecordsCallsInOrderAndSwitchesActiveDesktopOn) {
  WriteFile("desktop-state.txt", "Wallpaper=C:\\windows\\old.bmp\nActiveDesktop=0\n");
  IActiveDesktop* desktop = Create();
  ASSERT_TRUE(desktop);
  EXPECT_EQ(Wallpaper(desktop), L"C:\\windows\\old.bmp");
  COMPONENTSOPT options = {sizeof options, 0, 0};
  EXPECT_EQ(desktop->GetDesktopItemOptions(&options, 0), S_OK);
  EXPECT_EQ(options.fActiveDesktop, 0);
  options = {sizeof options, 1, 1};
  desktop->SetDesktopItemOptions(&options, 0);
  desktop->ApplyChanges(AD_APPLY_REFRESH);
  desktop->SetWallpaper(L"None", 0);
  desktop->SetWallpaper(L"C:\\windows\\Web\\WallPaper\\Clock.htm", 0);
  desktop->ApplyChanges(AD_APPLY_ALL);
  desktop->ApplyChanges(AD_APPLY_FORCE);
  desktop->Release();

  std::vector<std::string> expected = {
      "Create",
      "GetWallpaper 1024 0 -> \"C:\\windows\\old.bmp\"",
      "GetDesktopItemOptions 12 0 -> 0 0",
      "SetDesktopItemOptions 12 1 1 0",
      "ApplyChanges 4",
      "SetWallpaper \"None\" 0",
      "SetWallpaper \"C:\\windows\\Web\\WallPaper\\Clock.htm\" 0",
      "ApplyChanges 7",
      "ApplyChanges 8",
      "Release",
  };
  EXPECT_EQ(Lines("desktop.log"), expected);

  IActiveDesktop* later = Create();
  ASSERT_TRUE(later);
  EXPECT_EQ(Wallpaper(later), L"C:\\windows\\Web\\WallPaper\\Clock.htm");
  options = {sizeof options, 0, 0};
  EXPECT_EQ(later->GetDesktopItemOptions(&options, 0), S_OK);
  EXPECT_EQ(options.fEnableComponents, 1);
  EXPECT_EQ(options.fActiveDesktop, 1);
  later->Release();
}

// Changes reach the desktop only through ApplyChanges; each object starts from the applied state.
TEST_F(ActiveDesktopDouble, ChangesWithoutApplyAreLost) {
  IActiveDesktop* first = Create();
  ASSERT_TRUE(first);
  EXPECT_EQ(Wallpaper(first), L"");  // nothing preset: no wallpaper
  first->SetWallpaper(L"C:\\kept.bmp", 0);
  first->ApplyChanges(AD_APPLY_ALL);
  first->SetWallpaper(L"C:\\lost.bmp", 0);
  EXPECT_EQ(Wallpaper(first), L"C:\\lost.bmp");  // the object sees its own pending change
  first->Release();

  IActiveDesktop* second = Create();
  ASSERT_TRUE(second);
  EXPECT_EQ(Wallpaper(second), L"C:\\kept.bmp");
  // Text outside ASCII survives the state file.
  second->SetWallpaper(L"C:\\Bilder\\M\u00fcnchen \u00e9t\u00e9.htm", 0);
  second->ApplyChanges(AD_APPLY_SAVE);
  second->Release();
  IActiveDesktop* third = Create();
  ASSERT_TRUE(third);
  EXPECT_EQ(Wallpaper(third), L"C:\\Bilder\\M\u00fcnchen \u00e9t\u00e9.htm");
  third->Release();
}

TEST_F(ActiveDesktopDouble, RefusesBadArgumentsAndFailsWhenTold) {
  WriteFile("desktop-state.txt", "Wallpaper=C:\\abcdefgh.bmp\nFailGetDesktopItemOptions=1\n");
  IActiveDesktop* desktop = Create();
  ASSERT_TRUE(desktop);
  WCHAR small[5] = L"";
  EXPECT_EQ(desktop->GetWallpaper(small, 5, 0), S_OK);
  EXPECT_STREQ(small, L"C:\\a");  // cut to the capacity, terminated
  EXPECT_EQ(desktop->GetWallpaper(small, 0, 0), E_INVALIDARG);
  EXPECT_EQ(desktop->SetWallpaper(nullptr, 0), E_INVALIDARG);
  COMPONENTSOPT options = {8, 0, 0};
  EXPECT_EQ(desktop->GetDesktopItemOptions(&options, 0), E_INVALIDARG);
  options.dwSize = sizeof options;
  EXPECT_EQ(desktop->GetDesktopItemOptions(&options, 0), E_FAIL);
  // The preset survives the object's own saving.
  desktop->ApplyChanges(AD_APPLY_ALL);
  desktop->Release();
  IActiveDesktop* again = Create();
  ASSERT_TRUE(again);
  EXPECT_EQ(again->GetDesktopItemOptions(&options, 0), E_FAIL);
  again->Release();

  std::vector<std::string> log = Lines("desktop.log");
  ASSERT_GE(log.size(), 7u);
  EXPECT_EQ(log[1], "GetWallpaper 5 0 -> \"C:\\a\"");
  EXPECT_EQ(log[2], "GetWallpaper 0 0 -> E_INVALIDARG");
  EXPECT_EQ(log[4], "GetDesktopItemOptions 8 0 -> E_INVALIDARG");
  EXPECT_EQ(log[5], "GetDesktopItemOptions 12 0 -> E_FAIL");
}

}  // namespace
