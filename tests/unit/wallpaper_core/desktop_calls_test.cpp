#include <gtest/gtest.h>

#include <algorithm>

#include "desktop_wallpaper.h"
#include "file_system.h"
#include "preview_bitmap.h"
#include "fake_image_wallpaper.h"
#include "recording_desktop_shell.h"
#include "scripted_prompt.h"
#include "temp_dir.h"

namespace zarvane {
namespace {

using Calls = std::vector<std::string>;

class DesktopCalls : public ::testing::Test {
 protected:
  DesktopCalls() : wallpaper(shell, prompt, root.Path()) {
    // Never the machine's own image wallpaper: other tests share it.
    xp.major = 5;
    wallpaper.UseImageWallpaper(xp);
    MakeDirectory(root.Path() + "\\Web");
    MakeDirectory(root.Path() + "\\Web\\WallPaper");
    wallpaper.SetName("Demo");
  }
  std::string Page() const { return wallpaper.GetWallpaperDir() + "Demo.htm"; }

  TempDir root;
  RecordingDesktopShell shell;
  ScriptedPrompt prompt;
  FakeImageWallpaper xp;
  DesktopWallpaper wallpaper;
};

}  // namespace

TEST_F(DesktopCalls, PrepareDesktopSwitchesActiveDesktopOnOnlyWhenOff) {
  shell.options = {12, 0, 0};
  wallpaper.PrepareDesktop();
  EXPECT_EQ(shell.calls, (Calls{"CoInitialize", "Create", "GetWallpaper(1024)",
                                "GetDesktopItemOptions(12)", "SetDesktopItemOptions(12,1,1)",
                                "ApplyChanges(4)", "Release", "CoUninitialize"}));
  EXPECT_EQ(wallpaper.SavedWallpaper(), L"C:\\WINDOWS\\old.bmp");

  shell.calls.clear();
  wallpaper.PrepareDesktop();
  EXPECT_EQ(shell.calls, (Calls{"CoInitialize", "Create", "GetWallpaper(1024)",
                                "GetDesktopItemOptions(12)", "Release", "CoUninitialize"}));
  EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DesktopCalls, PrepareDesktopReportsUnreadableOptionsAfterSavingTheWallpaper) {
  shell.optionsFail = true;
  shell.options = {12, 0, 0};
  wallpaper.PrepareDesktop();
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].text, "Failed to Get Desktop Settings");
  EXPECT_EQ(prompt.shown[0].style, unsigned(kPromptOk));
  EXPECT_EQ(shell.calls.back(), "CoUninitialize");
  EXPECT_EQ(shell.calls[shell.calls.size() - 2], "Release");
  EXPECT_EQ(shell.options.activeDesktop, 0);
  EXPECT_EQ(wallpaper.SavedWallpaper(), L"C:\\WINDOWS\\old.bmp");
}

TEST_F(DesktopCalls, ApplySetsNoneThenThePageAndRestorePutsThePreviousBack) {
  wallpaper.PrepareDesktop();
  shell.calls.clear();
  EXPECT_EQ(wallpaper.Apply(), 1);
  EXPECT_EQ(shell.calls, (Calls{"CoInitialize", "Create", "GetWallpaper(1024)", "SetWallpaper(None)",
                                "SetWallpaper(" + Page() + ")", "ApplyChanges(7)",
                                "ApplyChanges(8)", "Release", "CoUninitialize"}));
  EXPECT_TRUE(FileExists(Page()));

  shell.calls.clear();
  EXPECT_EQ(wallpaper.Restore(""), 1);
  EXPECT_EQ(shell.calls, (Calls{"CoInitialize", "Create", "GetWallpaper(1024)",
                                "SetWallpaper(C:\\WINDOWS\\old.bmp)", "ApplyChanges(7)",
                                "ApplyChanges(8)", "Release", "CoUninitialize"}));
  EXPECT_EQ(shell.wallpaper, L"C:\\WINDOWS\\old.bmp");
  EXPECT_EQ(wallpaper.SavedWallpaper(), WidenAnsi(Page()));
}

TEST_F(DesktopCalls, SecondApplySavesTheFirstPage) {
  wallpaper.Apply();
  wallpaper.Apply();
  EXPECT_EQ(wallpaper.SavedWallpaper(), WidenAnsi(Page()));
}

TEST_F(DesktopCalls, NoneHandlingOfRestore) {
  // A new object puts "None" on the desktop and keeps what it replaced.
  wallpaper.Restore("");
  EXPECT_EQ(shell.wallpaper, L"None");
  EXPECT_EQ(wallpaper.SavedWallpaper(), L"C:\\WINDOWS\\old.bmp");
  // Restoring what is shown already leaves "None" saved ...
  shell.wallpaper = L"C:\\same.htm";
  wallpaper.Restore("C:\\same.htm");
  EXPECT_EQ(wallpaper.SavedWallpaper(), L"None");
  // ... and so does a new object on a desktop without wallpaper.
  DesktopWallpaper fresh(shell, prompt, root.Path());
  fresh.UseImageWallpaper(xp);
  shell.wallpaper = L"None";
  fresh.Restore("");
  EXPECT_EQ(shell.wallpaper, L"None");
  EXPECT_EQ(fresh.SavedWallpaper(), L"None");
}

TEST_F(DesktopCalls, WithoutActiveDesktopPagesAreWrittenAndNothingElseChanges) {
  shell.creationFails = true;
  wallpaper.PrepareDesktop();
  EXPECT_EQ(wallpaper.Apply(), 1);
  EXPECT_EQ(wallpaper.Restore("C:\\x.htm"), 1);
  EXPECT_EQ(shell.calls, (Calls{"CoInitialize", "Create", "CoUninitialize", "CoInitialize", "Create",
                                "CoUninitialize", "CoInitialize", "Create", "CoUninitialize"}));
  EXPECT_TRUE(FileExists(Page()));
  EXPECT_EQ(shell.wallpaper, L"C:\\WINDOWS\\old.bmp");
  EXPECT_EQ(wallpaper.SavedWallpaper(), L"None");
  EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(DesktopCalls, LongWallpaperPathsAreCutToTheSavedCapacity) {
  wallpaper.Restore(std::string(1500, 'x'));
  EXPECT_EQ(shell.wallpaper.size(), DesktopWallpaper::kSavedCapacity - 1);
}

TEST(BmpLayout, DepthRoundingAndSizes) {
  struct Case { int width, height, planes, bits, depth; unsigned imageSize, colours; };
  const Case cases[] = {
      {152, 112, 1, 8, 8, 152 * 112, 256},
      {300, 170, 1, 8, 8, 300 * 170, 256},
      {3, 2, 1, 1, 1, 8, 2},
      {3, 2, 1, 3, 4, 8, 16},
      {3, 2, 1, 15, 16, 16, 0x10000},
      {3, 2, 1, 24, 24, 24, 0},
      {3, 2, 1, 32, 32, 24, 0},
      {3, 2, 2, 16, 32, 24, 0},
  };
  for (const Case& c : cases) {
    BmpLayout layout = LayoutFor(c.width, c.height, c.planes, c.bits);
    EXPECT_EQ(layout.colourDepth, c.depth) << c.bits;
    EXPECT_EQ(layout.imageSize, c.imageSize) << c.bits;
    EXPECT_EQ(layout.coloursUsed, c.colours) << c.bits;
    EXPECT_EQ(layout.pixelOffset, 54 + c.colours * 4);
    EXPECT_EQ(layout.fileSize, 54 + c.colours * 4 + c.imageSize);
  }
}

namespace {

std::uint32_t Le(const std::string& bytes, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | (unsigned char)bytes[at + i];
  return v;
}

}  // namespace

TEST_F(DesktopCalls, PreviewBitmapsCarryConsistentHeaders) {
  wallpaper.SetName("ZarvanePreview");
  wallpaper.SetReplaceSilently(1);
  const std::string folder = wallpaper.PrepareFolder();
  const std::string path = wallpaper.MakePreviewBitmap("", kDefaultPreviewBitmap);
  EXPECT_EQ(path, folder + "ZarvanePreview_Preview.bmp");
  const std::string installer = root.Path() + "\\installer.bmp";
  EXPECT_EQ(wallpaper.MakePreviewBitmap(installer, kDefaultInstallerBitmap), installer);

  struct Case { std::filesystem::path file; std::uint32_t width, height; };
  const Case cases[] = {{root / "Web/WallPaper/ZarvanePreview/ZarvanePreview_Preview.bmp", 152, 112},
                        {root / "installer.bmp", 300, 170}};
  for (const Case& c : cases) {
    const std::string bmp = ReadWholeFile(c.file);
    ASSERT_GE(bmp.size(), 54u) << c.file;
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Le(bmp, 2, 4), bmp.size());
    EXPECT_EQ(Le(bmp, 6, 4), 0u);
    EXPECT_EQ(Le(bmp, 14, 4), 40u);
    EXPECT_EQ(Le(bmp, 18, 4), c.width);
    EXPECT_EQ(Le(bmp, 22, 4), c.height);
    EXPECT_EQ(Le(bmp, 30, 4), 0u);  // BI_RGB
    const std::uint32_t bits = Le(bmp, 28, 2), colours = Le(bmp, 46, 4);
    EXPECT_EQ(Le(bmp, 10, 4), 54 + colours * 4);
    EXPECT_EQ(Le(bmp, 34, 4), ((c.width * bits + 31) & ~31u) / 8 * c.height);
    EXPECT_EQ(colours, bits < 24 ? (1u << bits) : 0u);
  }
}

TEST_F(DesktopCalls, UnknownBitmapStillGivesThePathBack) {
  const std::string path = root.Path() + "\\none.bmp";
  EXPECT_EQ(wallpaper.MakePreviewBitmap(path, 999), path);
  EXPECT_FALSE(FileExists(path));
}

}  // namespace zarvane

namespace zarvane {
namespace {


}  // namespace

// A current Windows' Active Desktop may answer S_OK yet show no page, and its SetWallpaper would
// clear the image wallpaper: it is never called there, not even to restore.
TEST_F(DesktopCalls, WhereNoPageShowsTheStillPictureStandsInAndGoesBackExactly) {
  FakeImageWallpaper image;
  wallpaper.UseImageWallpaper(image);
  wallpaper.SetBackgroundPosition("Tile");
  wallpaper.PrepareDesktop();
  wallpaper.PrepareFolder();
  wallpaper.Apply();
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(wallpaper.DesktopChanged());
  EXPECT_TRUE(FileExists(wallpaper.StillPath()));
  EXPECT_EQ(image.held.wallpaper, wallpaper.StillPath());
  EXPECT_EQ(image.held.style + "/" + image.held.tile, "0/1");
  EXPECT_TRUE(image.held.hasStyle && image.held.hasTile);

  wallpaper.Restore("");
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(image.held.wallpaper, "C:\\WINDOWS\\mine.bmp");
  EXPECT_EQ(image.held.style, "10");
  EXPECT_FALSE(image.held.hasTile);  // it had none: deleted again, not set to ""
}

// Vista (6.0) and Windows 7 (6.1) show no page either, though their Active Desktop answers.
TEST_F(DesktopCalls, OnlyBeforeWindows6TheDesktopShowsThePage) {
  const struct {
    unsigned major, minor;
    const char* route;  // empty: the page
  } versions[] = {{5, 1, ""},
                  {6, 0, "Windows 6.0 shows no page on the desktop"},
                  {6, 1, "Windows 6.1 shows no page on the desktop"},
                  {10, 0, "Windows 10.0 shows no page on the desktop"}};
  for (const auto& v : versions) {
    SCOPED_TRACE(std::to_string(v.major) + "." + std::to_string(v.minor));
    FakeImageWallpaper image;
    image.major = v.major;
    image.minor = v.minor;
    DesktopWallpaper desktop(shell, prompt, root.Path());
    desktop.UseImageWallpaper(image);
    desktop.SetName("Version " + std::to_string(v.major) + "-" + std::to_string(v.minor));
    shell.calls.clear();
    desktop.PrepareDesktop();
    desktop.PrepareFolder();
    desktop.Apply();
    const bool page = *v.route == '\0';
    EXPECT_EQ(shell.calls.empty(), !page);
    EXPECT_EQ(desktop.StillShown(), !page);
    EXPECT_EQ(image.held.wallpaper == desktop.StillPath(), !page);
    if (!page) {
      EXPECT_NE(desktop.DesktopRoute().find(v.route), std::string::npos);
    }
  }
}

// A frame of the movie (2 x 1 here) holds the tiled background already: on the 4 x 2 screen it
// is one picture centred over the background colour, or stretched, never tiled; a project's own
// still picture keeps its size and the position's style.
TEST_F(DesktopCalls, AStillPictureFromTheMovieIsOnePictureAtTheScreensSize) {
  const struct {
    const char* position;
    bool fromMovie;
    const char* styleAndTile;
    int width;
    std::uint32_t topRow[4];
  } cases[] = {
      {"Tile", true, "0/0", 4, {0x102030, 0xFF0000, 0x0000FF, 0x102030}},
      {"Tile", false, "0/1", 2, {0xFF0000, 0x0000FF}},
      {"Stretch", true, "2/0", 4, {0xFF0000, 0xFF0000, 0x0000FF, 0x0000FF}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.position) + (c.fromMovie ? " from the movie" : " own picture"));
    FakeImageWallpaper image;
    image.loadable.width = 2;
    image.loadable.height = 1;
    image.loadable.pixels = {0xFF0000, 0x0000FF};
    DesktopWallpaper desktop(shell, prompt, root.Path());
    desktop.UseImageWallpaper(image);
    desktop.SetName("Movie Still");
    desktop.SetBackgroundColour(0x302010);  // as COLORREF: red 10, green 20, blue 30
    desktop.SetBackgroundPosition(c.position);
    desktop.SetStillImage("frame.bmp");
    desktop.SetStillFromMovie(c.fromMovie);
    desktop.PrepareDesktop();
    desktop.PrepareFolder();
    desktop.Apply();
    ASSERT_TRUE(desktop.StillShown());
    EXPECT_EQ(image.held.style + "/" + image.held.tile, c.styleAndTile);
    std::string path = desktop.StillPath();
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::string bmp = ReadWholeFile(path);
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(static_cast<unsigned char>(bmp[18]), c.width);
    // Bottom-up rows: the top row is the last one; blue, green, red bytes.
    const int stride = (3 * c.width + 3) / 4 * 4;
    const std::size_t top = bmp.size() - stride;
    for (int x = 0; x < c.width; ++x) {
      const std::uint32_t pixel = static_cast<unsigned char>(bmp[top + 3 * x]) |
                                  static_cast<unsigned char>(bmp[top + 3 * x + 1]) << 8 |
                                  static_cast<unsigned char>(bmp[top + 3 * x + 2]) << 16;
      EXPECT_EQ(pixel, c.topRow[x]) << "x " << x;
    }
  }
}

TEST_F(DesktopCalls, OnXpAFailingActiveDesktopGetsTheStillPictureAndARefusalLeavesTheDesktop) {
  FakeImageWallpaper image;
  image.major = 5;
  wallpaper.UseImageWallpaper(image);
  wallpaper.PrepareDesktop();
  wallpaper.PrepareFolder();
  wallpaper.Apply();
  EXPECT_FALSE(wallpaper.StillShown());  // the page path worked: nothing else touched
  EXPECT_EQ(image.held.wallpaper, "C:\\WINDOWS\\mine.bmp");

  shell.optionsFail = true;
  wallpaper.PrepareDesktop();
  wallpaper.Apply();
  EXPECT_TRUE(wallpaper.StillShown());
  EXPECT_NE(wallpaper.DesktopRoute().find("GetDesktopItemOptions"), std::string::npos);

  DesktopWallpaper refused(shell, prompt, root.Path());
  image.refuses = true;
  refused.UseImageWallpaper(image);
  refused.SetName("Other");
  refused.PrepareDesktop();
  refused.PrepareFolder();
  refused.Apply();
  EXPECT_FALSE(refused.DesktopChanged());
}

}  // namespace zarvane
