#include <gtest/gtest.h>

#include <algorithm>

#include "desktop_wallpaper.h"
#include "file_system.h"
#include "fake_image_wallpaper.h"
#include "recording_desktop_shell.h"
#include "scripted_prompt.h"
#include "temp_dir.h"

namespace zarvane {
namespace {

const char kReplaceQuestion[] = "Wallpaper Exists..Do you want to Replace?";

// A Windows folder of its own with Web\WallPaper, source files and a wallpaper object on it.
class WallpaperFiles : public ::testing::Test {
 protected:
  WallpaperFiles() : wallpaper(shell, prompt, root.Path() + "\\windows") {
    // Never the machine's own image wallpaper: other tests share it.
    xp.major = 5;
    wallpaper.UseImageWallpaper(xp);
    MakeDirectory(root.Path() + "\\windows");
    MakeDirectory(root.Path() + "\\windows\\Web");
    MakeDirectory(root.Path() + "\\windows\\Web\\WallPaper");
    MakeDirectory(root.Path() + "\\src");
    for (const char* name : {"clock.swf", "clock.bmp", "sky.jpg"})
      WriteTextFile(root / "src" / name, std::string("new ") + name);
    wallpaper.SetName("Demo");
    wallpaper.SetMovieFile(Source("clock.swf"));
    wallpaper.SetImageFile(Source("clock.bmp"));
    wallpaper.SetBackgroundImage(Source("sky.jpg"));
  }

  std::string Source(const std::string& name) const { return root.Path() + "\\src\\" + name; }
  std::string Dir() const { return wallpaper.GetWallpaperDir(); }
  std::vector<std::string> Files(const std::string& folder) const {
    std::vector<std::string> names;
    for (const std::string& n : ListDirectory(folder))
      if (n != "." && n != "..") names.push_back(n);
    std::sort(names.begin(), names.end());
    return names;
  }
  void Plant(const std::string& path, const std::string& text = "old") {
    std::string unix_path = path;
#ifndef _WIN32
    std::replace(unix_path.begin(), unix_path.end(), '\\', '/');
#endif
    WriteTextFile(unix_path, text);
  }

  TempDir root;
  RecordingDesktopShell shell;
  ScriptedPrompt prompt;
  FakeImageWallpaper xp;
  DesktopWallpaper wallpaper;
};

}  // namespace

TEST_F(WallpaperFiles, NewObjectState) {
  DesktopWallpaper fresh(shell, prompt, "C:\\WINDOWS");
  fresh.UseImageWallpaper(xp);
  EXPECT_EQ(fresh.GetWallpaperDir(), "C:\\WINDOWS\\Web\\WallPaper\\");
  EXPECT_EQ(fresh.SavedWallpaper(), L"None");
  EXPECT_EQ(fresh.GetFolder(), "");
  wchar_t saved[DesktopWallpaper::kSavedCapacity];
  EXPECT_EQ(fresh.GetSavedWallpaper(saved), 1);
  EXPECT_EQ(std::wstring(saved), L"None");
  EXPECT_EQ(fresh.GetSavedWallpaper(nullptr), 0);
}

TEST_F(WallpaperFiles, PrepareCopyAndApplyMakeFolderCopiesAndPage) {
  EXPECT_EQ(wallpaper.PrepareFolder(), Dir() + "Demo\\");
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_EQ(wallpaper.CopyFiles(), 1);
  EXPECT_EQ(Files(Dir() + "Demo"), (std::vector<std::string>{"clock.bmp", "clock.swf", "sky.jpg"}));
  EXPECT_EQ(wallpaper.Apply(), 1);
  EXPECT_EQ(wallpaper.GetPagePath(), Dir() + "Demo.htm");
  EXPECT_TRUE(FileExists(Dir() + "Demo.htm"));
  EXPECT_FALSE(FileExists(Dir() + "Demo.htm.part"));
}

TEST_F(WallpaperFiles, ExistingFolderAsksOnceAndCancelKeepsEveryFile) {
  MakeDirectory(Dir() + "Demo");
  Plant(Dir() + "Demo\\clock.swf");
  Plant(Dir() + "Demo\\notes.txt");
  prompt.answers = {kAnswerCancel};
  EXPECT_EQ(wallpaper.PrepareFolder(), Dir() + "Demo\\");
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, kReplaceQuestion);
  EXPECT_EQ(prompt.shown[0].style, unsigned(kPromptOkCancel | kPromptIconInformation));
  EXPECT_EQ(Files(Dir() + "Demo"), (std::vector<std::string>{"clock.swf", "notes.txt"}));
  wallpaper.CopyFiles();  // writes over files of the same names
  EXPECT_EQ(ReadWholeFile(root / "windows/Web/WallPaper/Demo/clock.swf"), "new clock.swf");
}

TEST_F(WallpaperFiles, ExistingFolderOkEmptiesAndRecreatesItButNothingBeside) {
  MakeDirectory(Dir() + "Demo");
  Plant(Dir() + "Demo\\notes.txt");
  Plant(Dir() + "Demo.htm");
  Plant(Dir() + "other.xml");
  prompt.answers = {kAnswerOk};
  EXPECT_EQ(wallpaper.PrepareFolder(), Dir() + "Demo\\");
  EXPECT_EQ(prompt.shown.size(), 1u);
  EXPECT_TRUE(Files(Dir() + "Demo").empty());
  // No Apply ran and no resource list was given: the page and the neighbours stay.
  EXPECT_EQ(Files(Dir()), (std::vector<std::string>{"Demo", "Demo.htm", "other.xml"}));
}

TEST_F(WallpaperFiles, ReplaceSilentlyNeverAsks) {
  MakeDirectory(Dir() + "Demo");
  Plant(Dir() + "Demo\\notes.txt");
  wallpaper.SetReplaceSilently(1);
  EXPECT_EQ(wallpaper.PrepareFolder(), Dir() + "Demo\\");
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_EQ(Files(Dir() + "Demo"), (std::vector<std::string>{"notes.txt"}));
}

TEST_F(WallpaperFiles, DeleteRemovesFolderPageAndListedResourcesOnly) {
  wallpaper.PrepareFolder();
  wallpaper.CopyFiles();
  wallpaper.Apply();
  Plant(Dir() + "data.xml");
  Plant(Dir() + "song.mp3");
  Plant(Dir() + "keep.txt");
  Plant(root.Path() + "\\windows\\Web\\outside.txt");
  wallpaper.SetResourceFiles("data.xml; song.mp3;;..\\outside.txt;");
  EXPECT_EQ(wallpaper.Delete(), 1);
  EXPECT_EQ(Files(Dir()), (std::vector<std::string>{"keep.txt"}));
  EXPECT_TRUE(FileExists(root.Path() + "\\windows\\Web\\outside.txt"));
}

TEST_F(WallpaperFiles, DeleteRefusesFoldersOutsideTheWallpaperDirectory) {
  MakeDirectory(root.Path() + "\\windows\\Web\\Elsewhere");
  Plant(root.Path() + "\\windows\\Web\\Elsewhere\\a.txt");
  Plant(root.Path() + "\\windows\\Web\\b.txt");
  Plant(Dir() + "c.txt");
  const std::string refused[] = {
      "",
      root.Path() + "\\windows\\Web\\Elsewhere\\",
      Dir().substr(0, Dir().size() - 1),  // shorter than the directory itself
      Dir(),
      Dir() + ".\\",
      Dir() + "..\\",
      Dir() + "..\\Elsewhere\\",
      Dir() + "x/..\\",
  };
  for (const std::string& folder : refused) {
    wallpaper.SetFolder(folder);
    EXPECT_EQ(wallpaper.Delete(), 0) << folder;
  }
  EXPECT_TRUE(FileExists(root.Path() + "\\windows\\Web\\Elsewhere\\a.txt"));
  EXPECT_TRUE(FileExists(root.Path() + "\\windows\\Web\\b.txt"));
  EXPECT_TRUE(FileExists(Dir() + "c.txt"));
}

TEST_F(WallpaperFiles, RefusedNamesPrepareNothingAndAskNothing) {
  Plant(Dir() + "c.txt");
  Plant(root.Path() + "\\windows\\Web\\b.txt");
  for (const char* name : {"", ".", "..", "..\\Web", "a/b", "C:x"}) {
    wallpaper.SetName(name);
    wallpaper.SetReplaceSilently(0);
    prompt.answers = {kAnswerOk};
    EXPECT_EQ(wallpaper.PrepareFolder(), "") << name;
    EXPECT_EQ(wallpaper.CopyFiles(), 1);
  }
  EXPECT_TRUE(prompt.shown.empty());
  EXPECT_EQ(Files(Dir()), (std::vector<std::string>{"c.txt"}));
  EXPECT_TRUE(FileExists(root.Path() + "\\windows\\Web\\b.txt"));
}

TEST_F(WallpaperFiles, DeleteResourcesWithAnEmptyListDeletesNothing) {
  Plant(Dir() + "a.txt");
  wallpaper.SetResourceFiles("  ");
  EXPECT_EQ(wallpaper.DeleteResources(), 1);
  EXPECT_TRUE(FileExists(Dir() + "a.txt"));
}

TEST_F(WallpaperFiles, FailedPageWriteLeavesWhatWasThereWhole) {
  // A folder in the page's place makes the final move fail.
  MakeDirectory(Dir() + "Demo.htm");
  Plant(Dir() + "Demo.htm\\inside.txt", "kept");
  EXPECT_EQ(wallpaper.WritePage(Dir() + "Demo.htm"), 0);
  EXPECT_EQ(ReadWholeFile(root / "windows/Web/WallPaper/Demo.htm/inside.txt"), "kept");
  EXPECT_EQ(Files(Dir()), (std::vector<std::string>{"Demo.htm"}));
}

TEST_F(WallpaperFiles, PageWriteTouchesNoFileOfItsTemporaryName) {
  Plant(Dir() + "Demo.htm", "old page");
  Plant(Dir() + "Demo.htm.part", "somebody's");
  MakeDirectory(Dir() + "Demo.htm.1.part");
  EXPECT_EQ(wallpaper.WritePage(Dir() + "Demo.htm"), 1);
  EXPECT_EQ(ReadWholeFile(root / "windows/Web/WallPaper/Demo.htm").substr(0, 6), "<HTML>");
  EXPECT_EQ(ReadWholeFile(root / "windows/Web/WallPaper/Demo.htm.part"), "somebody's");
  EXPECT_EQ(Files(Dir()), (std::vector<std::string>{"Demo.htm", "Demo.htm.1.part", "Demo.htm.part"}));
}

TEST_F(WallpaperFiles, DeleteOfAFolderWithoutItsBackslashStaysInsideIt) {
  wallpaper.PrepareFolder();
  wallpaper.CopyFiles();
  Plant(Dir() + "Democlock.swf");
  wallpaper.SetFolder(Dir() + "Demo");
  EXPECT_EQ(wallpaper.Delete(), 1);
  EXPECT_EQ(Files(Dir()), (std::vector<std::string>{"Democlock.swf"}));
}

// One object lives as long as the authoring tool: a name refused after a good one must stop
// every later step, not let it go on into the good name's folder or beside the directory.
TEST_F(WallpaperFiles, RefusedNameAfterAGoodOneStopsEveryStep) {
  ASSERT_EQ(wallpaper.PrepareFolder(), Dir() + "Demo\\");
  shell.calls.clear();
  for (const char* name : {"..", " . ", "con", "nul .txt"}) {
    wallpaper.SetName(name);
    EXPECT_EQ(wallpaper.PrepareFolder(), "") << name;
    EXPECT_EQ(wallpaper.GetFolder(), "") << name;
    wallpaper.CopyFiles();
    EXPECT_EQ(wallpaper.MakePreviewBitmap("", 233), "") << name;
    EXPECT_EQ(wallpaper.WritePage(Dir() + "page.htm"), 0) << name;
    EXPECT_EQ(wallpaper.Apply(), 0) << name;
  }
  EXPECT_TRUE(Files(Dir() + "Demo").empty());
  EXPECT_EQ(Files(Dir()), (std::vector<std::string>{"Demo"}));
  EXPECT_TRUE(shell.calls.empty());
}

}  // namespace zarvane
