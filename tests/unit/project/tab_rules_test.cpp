#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "headless_tabs.h"
#include "project_paths.h"
#include "tab_rules.h"

namespace zarvane {
namespace {
namespace fs = std::filesystem;

TEST(TabRules, StoredWordsShowAsListRowsAndComeBackNormalised) {
  struct Case {
    const char *quality, *size, *hAlign, *position, *colour;
    const char *quality2, *size2, *hAlign2, *position2, *colour2;
  };
  const Case cases[] = {
      {"Best", "showall", "Right", "Tile", "0A0B0C", "Best", "showall", "Right", "Tile", "0a0b0c"},
      {"best", "SHOWALL", "right", "stretch", "FFFFFF", "Best", "showall", "Right", "Stretch",
       "ffffff"},
      {"Ultra", "EXACTFIT", "Middle", "Nowhere", "12345", "High", "Exactfit", "Center", "Center",
       "000000"},
      {"", "", "", "", "1234567", "High", "noscale", "Center", "Center", "000000"},
      {"AutoHigh", "noscale", "Left", "-------------------", "zz1z00", "AutoHigh", "noscale",
       "Left", "Center", "000100"},
  };
  for (const Case& c : cases) {
    WallpaperSettings in;
    in.quality = c.quality;
    in.movieSize = c.size;
    in.hAlign = c.hAlign;
    in.backgroundPosition = c.position;
    in.colourText = c.colour;
    WallpaperControls controls;
    SetWallpaperControls(controls, in);
    WallpaperSettings out = GetWallpaperControls(controls);
    EXPECT_EQ(out.quality, c.quality2) << c.quality;
    EXPECT_EQ(out.movieSize, c.size2) << c.size;
    EXPECT_EQ(out.hAlign, c.hAlign2) << c.hAlign;
    EXPECT_EQ(out.backgroundPosition, c.position2) << c.position;
    EXPECT_EQ(out.colourText, c.colour2) << c.colour;
    EXPECT_EQ(out.mute, 0);
  }
  WallpaperControls untouched;
  EXPECT_EQ(GetWallpaperControls(untouched).movieSize, "showall") << "no size selected";
  EXPECT_EQ(GetWallpaperControls(untouched).quality, "");
}

TEST(TabRules, InstallerAndPreviewRecordsKeepTheirFlagsApart) {
  InstallerSettings stored;
  stored.includeFlashControl = 1;  // FlashControl "1" in the file: the box was checked
  stored.showMovie = 0;
  stored.movieOrImageFile = "C:\\kept.bmp";
  stored.licenseFile = "C:\\l.txt";
  InstallerControls controls;
  SetInstallerControls(controls, stored);
  EXPECT_TRUE(controls.withoutPlugin);
  EXPECT_EQ(controls.picturePath, "") << "the built-in picture empties the path";
  EXPECT_FALSE(controls.licence) << "showLicence decides, not the path";

  InstallerSettings got;
  got.licenseFile = "previous";
  GetInstallerControls(controls, got);
  EXPECT_EQ(got.includeFlashControl, 0) << "a checked box packs no control";
  EXPECT_EQ(got.licenseFile, "previous");
  EXPECT_EQ(got.showLicence, 0);
  controls.withoutPlugin = false;
  GetInstallerControls(controls, got);
  EXPECT_EQ(got.includeFlashControl, 1);

  PreviewControls preview;
  SetPreviewControls(preview, PreviewSettings{1, "C:\\p.bmp"});
  preview.ownImage = false;  // the built-in image chosen: the text stays in the field
  EXPECT_EQ(GetPreviewControls(preview).imageFile, "");
  preview.ownImage = true;
  EXPECT_EQ(GetPreviewControls(preview).imageFile, "C:\\p.bmp");
}

class TabValidation : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / (std::string("zarvane_") +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "sub");
    for (const char* name : {"clock.swf", "back.jpg", "licence.txt", "taken.exe.tmp"})
      std::ofstream(folder_ / name) << "x";
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path(const char* name) { return (folder_ / name).string(); }
  fs::path folder_;
};

TEST_F(TabValidation, WallpaperTabFindsTheFirstProblemAndTrimsWhatPassed) {
  struct Case {
    std::string movie, background, name;
    bool previewing;
    int message;
    TabField field;
  };
  const std::string movie = Path("clock.swf");
  const Case cases[] = {
      {"   ", "", "Clock", false, 1, TabField::kMovieFile},
      {Path("nothing.swf"), "", "Clock", false, 2, TabField::kMovieFile},
      {Path("sub"), "", "Clock", false, 2, TabField::kMovieFile},
      {movie, " " + Path("back.jpg"), "Clock", false, 7, TabField::kBackgroundImage},
      {movie, "", "  ", false, 4, TabField::kName},
      {movie, "", "a/b", false, 3, TabField::kName},
      {movie, "", "a|b", false, 3, TabField::kName},
      {movie, "", "Demo. ", false, 82, TabField::kName},  // would replace "Demo"
      {movie, "", " . . ", false, 82, TabField::kName},
      // Names every installer refuses: a device, whatever follows it.
      {movie, "", "CON", false, 84, TabField::kName},
      {movie, "", " nul ", false, 84, TabField::kName},
      {movie, "", "aux.txt", false, 84, TabField::kName},
      {movie, "", "Com1", false, 84, TabField::kName},
      {movie, "", "Console", false, 0, TabField::kNone},
      {movie, "", "", true, 0, TabField::kNone},
      {movie, Path("back.jpg"), " Clock ", false, 0, TabField::kNone},
  };
  for (const Case& c : cases) {
    WallpaperControls controls;
    controls.movieFile = "  " + c.movie + " ";
    controls.backgroundImage = c.background;
    controls.name = c.name;
    TabVerdict v = ValidateWallpaperTab(controls, c.previewing);
    EXPECT_EQ(v.message, c.message) << c.movie << " | " << c.background << " | " << c.name;
    EXPECT_EQ(v.field, c.field) << c.movie << " | " << c.name;
    if (c.message == 0 || c.message >= 3) {
      EXPECT_EQ(controls.movieFile, c.movie);
    }
    if (c.message == 0 && !c.previewing) {
      EXPECT_EQ(controls.name, c.name == " Clock " ? "Clock" : c.name);
    }
  }
}

TEST_F(TabValidation, InstallerTabChecksOnlyWhatIsSwitchedOn) {
  struct Case {
    std::string installer;
    bool picture;
    std::string picturePath;
    bool licence;
    std::string licencePath;
    int message;
  };
  const std::string out = Path("Clock Setup.exe");
  const Case cases[] = {
      {" ", false, "", false, "", 10},
      {Path("missing/Clock Setup.exe"), false, "", false, "", 11},
      {Path("taken.exe"), false, "", false, "", 11},
      {out + "  ", true, " ", false, "", 8},
      {out, true, Path("nothing.bmp"), false, "", 9},
      {out, false, " ", true, "", 12},
      {out, false, "", true, Path("nothing.txt"), 13},
      {out, true, " " + Path("back.jpg"), true, Path("licence.txt") + " ", 0},
  };
  for (const Case& c : cases) {
    InstallerControls controls;
    controls.installerPath = c.installer;
    controls.specificPicture = c.picture;
    controls.picturePath = c.picturePath;
    controls.licence = c.licence;
    controls.licencePath = c.licencePath;
    EXPECT_EQ(ValidateInstallerTab(controls).message, c.message) << c.installer;
    if (c.message == 0) {
      EXPECT_EQ(controls.installerPath, out);
      EXPECT_EQ(controls.picturePath, Path("back.jpg"));
      EXPECT_EQ(controls.licencePath, Path("licence.txt"));
    }
  }
  EXPECT_FALSE(fs::exists(out + ".tmp")) << "the probe file is removed again";
  EXPECT_TRUE(fs::exists(Path("taken.exe.tmp"))) << "a file of the probe's name stays";
}

TEST_F(TabValidation, PreviewAndSettingsTabsCheckTheirOwnPictureOnly) {
  PreviewControls preview{false, ""};
  EXPECT_EQ(ValidatePreviewTab(preview).message, 0);
  preview.ownImage = true;
  EXPECT_EQ(ValidatePreviewTab(preview).message, 6);
  preview.imageFile = Path("nothing.bmp");
  EXPECT_EQ(ValidatePreviewTab(preview).message, 7);
  preview.imageFile = Path("back.jpg") + "\t";
  EXPECT_EQ(ValidatePreviewTab(preview).message, 0);
  EXPECT_EQ(preview.imageFile, Path("back.jpg"));

  SettingsBoxControls box;
  EXPECT_EQ(ValidateSettingsTab(box).message, 0);
  box.specific = true;
  EXPECT_EQ(ValidateSettingsTab(box).message, 8);
  box.movieOrImageFile = Path("sub");
  EXPECT_EQ(ValidateSettingsTab(box).message, 9);
}

// The authoring tool keeps relative fields as written: they are looked for from the project
// file's folder, and only the build reads them whole.
TEST_F(TabValidation, RelativeFieldsAreCheckedFromTheProjectFolderAndStayRelative) {
  const std::string folder = Path("");
  WallpaperControls wallpaper;
  wallpaper.movieFile = " clock.swf ";
  wallpaper.backgroundImage = "back.jpg";
  wallpaper.name = "Clock";
  EXPECT_EQ(ValidateWallpaperTab(wallpaper, false).message, 2) << "not from the working folder";
  EXPECT_EQ(ValidateWallpaperTab(wallpaper, false, folder).message, 0);
  EXPECT_EQ(wallpaper.movieFile, "clock.swf");
  PreviewControls preview{true, "back.jpg"};
  EXPECT_EQ(ValidatePreviewTab(preview).message, 7);
  EXPECT_EQ(ValidatePreviewTab(preview, folder).message, 0);
  InstallerControls installer;
  installer.installerPath = "Clock Setup.exe";
  installer.licence = true;
  installer.licencePath = "licence.txt";
  EXPECT_EQ(ValidateInstallerTab(installer, folder).message, 0);
  EXPECT_EQ(installer.installerPath + "|" + installer.licencePath, "Clock Setup.exe|licence.txt");

  HeadlessTabs tabs;
  tabs.wallpaper.movieFile = "clock.swf";
  tabs.wallpaper.resourceFiles = "a.wav;C:\\b.gif;";
  tabs.installer.installerPath = "out.exe";
  tabs.installer.licence = true;
  tabs.installer.licencePath = "/abs/licence.txt";
  ResolvedTabs resolved(tabs);
  resolved.SetFolder("/proj/");
  WallpaperSettings w;
  InstallerSettings i;
  resolved.GetWallpaper(w);
  resolved.GetInstaller(i);
  EXPECT_EQ(w.movieFile + "|" + w.resourceFiles, "/proj/clock.swf|/proj/a.wav;C:\\b.gif;");
  EXPECT_EQ(i.installerFilePath + "|" + i.licenseFile, "/proj/out.exe|/abs/licence.txt");
  EXPECT_EQ(tabs.wallpaper.movieFile, "clock.swf") << "the tabs keep what was written";
  resolved.SetFolder("");  // never saved: as written
  resolved.GetWallpaper(w);
  EXPECT_EQ(w.movieFile + "|" + w.resourceFiles, "clock.swf|a.wav;C:\\b.gif;");
}

TEST(TabRules, RelativePathsResolveAgainstTheProjectFolder) {
  HeadlessTabs tabs;
  tabs.wallpaper.movieFile = "clock.swf";
  tabs.wallpaper.resourceFiles = "a.wav; /abs/b.jpg ;;C:\\c.gif";
  tabs.wallpaper.backgroundImage = "";
  tabs.installer.installerPath = "out/Setup.exe";
  tabs.installer.licencePath = "D:licence.txt";
  tabs.ResolvePathsAgainst("/proj/");
  EXPECT_EQ(tabs.wallpaper.movieFile, "/proj/clock.swf");
  EXPECT_EQ(tabs.wallpaper.resourceFiles, "/proj/a.wav;/abs/b.jpg;;C:\\c.gif;");
  EXPECT_EQ(tabs.wallpaper.backgroundImage, "");
  EXPECT_EQ(tabs.installer.installerPath, "/proj/out/Setup.exe");
  EXPECT_EQ(tabs.installer.licencePath, "D:licence.txt");
}

TEST(TabRules, ButtonsFillTheirFields) {
  struct Case {
    const char* field;
    std::vector<std::string> picked;
    const char* result;
  };
  const Case cases[] = {
      {"", {"C:\\a.swf", "c:\\A.SWF"}, "C:\\a.swf;"},
      {" C:\\a.swf ;;C:\\b.jpg", {"C:\\B.JPG", "C:\\c.gif"}, "C:\\a.swf;;C:\\b.jpg;C:\\c.gif;"},
      {"C:\\a.swf; ", {}, "C:\\a.swf;"},
  };
  for (const Case& c : cases) EXPECT_EQ(AddResourceFiles(c.field, c.picked), c.result) << c.field;

  EXPECT_EQ(ProposeInstallerPath("", "C:\\Desk", "Sunset"), "C:\\Desk\\Sunset Setup.exe");
  EXPECT_EQ(ProposeInstallerPath("", "C:\\", "Sunset"), "C:\\Sunset Setup.exe");
  EXPECT_EQ(ProposeInstallerPath("", "C:\\Desk", ""), "");
  EXPECT_EQ(ProposeInstallerPath("D:\\x.exe", "C:\\Desk", "Sunset"), "D:\\x.exe");
  EXPECT_EQ(InstallerFolderOf("C:\\Out\\My Setup.exe"), "C:\\Out\\");
}

TEST(TabRules, MessageTextsOfTheTabs) {
  EXPECT_EQ(ToolMessage(3),
            "Wallpaper name cannot contain any of the following characters: \n"
            "\\ / :  * ? \" < > |");
  EXPECT_EQ(ToolMessage(11), "Installer file path is invalid. Check if the folder exists.");
}

}  // namespace
}  // namespace zarvane
