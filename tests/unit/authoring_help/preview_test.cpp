// The desktop preview against the stand-in Active Desktop: what appears under the wallpaper
// directory and on the desktop, and that Cancel takes back exactly that.
#include <fstream>

#include "file_system.h"
#include "help_test_support.h"
#include "temp_dir.h"
#include "wallpaper_preview.h"

namespace zarvane {

namespace {

std::string DesktopShows(const std::string& folder) {
  std::ifstream in(folder + "desktop-state.txt");
  for (std::string line; std::getline(in, line);)
    if (line.rfind("Wallpaper=", 0) == 0) return line.substr(10);
  return std::string();
}

}  // namespace

TEST(WallpaperPreview, ShowsThePageAndCancelTakesBackWhatItMade) {
  SkipWithoutDisplay();
  std::string doubles = UsePrivateDoublesFolder("zarvane-preview-test");
  DeleteFileA((doubles + "desktop.log").c_str());
  WriteTextFile(doubles + "desktop-state.txt",
                "Wallpaper=C:\\windows\\old.bmp\nActiveDesktop=1\nEnableComponents=1\n");

  std::string web = WindowsDirectory() + "\\Web";
  CreateDirectoryA(web.c_str(), nullptr);
  CreateDirectoryA((web + "\\WallPaper").c_str(), nullptr);
  std::string wallpaperDir = web + "\\WallPaper\\";
  std::string folder = wallpaperDir + "ZarvanePreview\\";
  std::string page = wallpaperDir + "ZarvanePreview.htm";
  for (const char* leftover : {"tick.wav", "zv-preview-words.txt"})  // of an interrupted run
    RemoveFile(wallpaperDir + leftover);

  TempDir sources;
  std::string s = sources.Path() + "\\";
  WriteTextFile(s + "clock.swf", "FWS movie");
  WriteTextFile(s + "sky.jpg", "sky");
  CreateDirectoryA((s + "data").c_str(), nullptr);
  WriteTextFile(s + "data\\tick.wav", "tick");
  WriteTextFile(s + "zv-preview-words.txt", "ours");
  WriteTextFile(s + "zv-preview-theirs.txt", "ours");
  WriteTextFile(wallpaperDir + "zv-preview-theirs.txt", "theirs");

  WallpaperSettings wallpaper;
  wallpaper.name = "";  // a preview needs no name
  wallpaper.movieFile = s + "clock.swf";
  wallpaper.backgroundImage = s + "sky.jpg";
  wallpaper.resourceFiles = s + "data\\tick.wav;;" + s + "zv-preview-words.txt;" + s +
                            "ZV-PREVIEW-THEIRS.TXT;" + s + "missing.txt;";
  wallpaper.colourText = "0A0B0C";
  wallpaper.quality = "Best";
  wallpaper.movieSize = "noscale";
  PreviewSettings preview;  // the default picture

  MemorySettings settings;
  settings.numbers["PrevWarn"] = 1;
  HWND mainWindow = CreateWindowExA(0, "STATIC", "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    200, 100, nullptr, nullptr, nullptr, nullptr);
  WallpaperPreview previewer(SystemDesktopShell(), settings);
  WindowWatcher warning("Zarvane Information . . .", [](HWND) {});
  previewer.Start(mainWindow, wallpaper, preview);
  EXPECT_FALSE(warning.Finish()) << "PrevWarn 1 shows no warning";
  EXPECT_TRUE(IsIconic(mainWindow));

  EXPECT_EQ(DesktopShows(doubles), page);
  std::string html = ReadWholeFile(page);
  EXPECT_NE(html.find("VALUE=\"ZarvanePreview\\clock.swf\""), std::string::npos);
  EXPECT_NE(html.find("ZarvanePreview\\ZarvanePreview_Preview.bmp"), std::string::npos);
  EXPECT_NE(html.find("#0a0b0c"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(folder + "clock.swf"), "FWS movie");
  EXPECT_EQ(ReadWholeFile(folder + "sky.jpg"), "sky");
  EXPECT_EQ(ReadWholeFile(folder + "ZarvanePreview_Preview.bmp").substr(0, 2), "BM");
  EXPECT_EQ(ReadWholeFile(wallpaperDir + "tick.wav"), "tick");
  EXPECT_EQ(ReadWholeFile(wallpaperDir + "zv-preview-words.txt"), "ours");
  EXPECT_EQ(ReadWholeFile(wallpaperDir + "zv-preview-theirs.txt"), "theirs");

  previewer.Cancel();
  EXPECT_EQ(DesktopShows(doubles), "C:\\windows\\old.bmp");
  EXPECT_FALSE(FileExists(page));
  EXPECT_FALSE(FileExists(folder + "clock.swf"));
  EXPECT_FALSE(RemoveEmptyDirectory(folder)) << "the folder is gone";
  EXPECT_FALSE(FileExists(wallpaperDir + "tick.wav"));
  EXPECT_FALSE(FileExists(wallpaperDir + "zv-preview-words.txt"));
  EXPECT_EQ(ReadWholeFile(wallpaperDir + "zv-preview-theirs.txt"), "theirs");

  RemoveFile(wallpaperDir + "zv-preview-theirs.txt");
  DestroyWindow(mainWindow);
}

}  // namespace zarvane
