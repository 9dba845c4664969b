#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless_tabs.h"
#include "project_file.h"

namespace zarvane {
namespace {
namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

class ProjectFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / (std::string("zarvane_") +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path(const char* name) { return (folder_ / name).string(); }

  // A project with every stored field away from its fresh value.
  static HeadlessTabs FullProject(bool withoutPlugin) {
    HeadlessTabs tabs;
    WallpaperSettings w;
    w.movieFile = "C:\\art\\clock.swf";
    w.resourceFiles = "C:\\art\\tick.wav;D:\\pics\\face.jpg;";
    w.name = "Big Clock";
    w.colourText = "0a0b0c";
    w.backgroundImage = "C:\\art\\back.jpg";
    w.hAlign = "Left";
    w.vAlign = "Bottom";
    w.backgroundPosition = "Bottom Right";
    w.quality = "AutoLow";
    w.movieSize = "Exactfit";
    w.loop = 0;
    tabs.SetWallpaper(w);
    PreviewSettings p;
    p.showImage = 1;
    p.imageFile = "C:\\art\\small.bmp";
    tabs.SetPreview(p);
    InstallerSettings i;
    i.installerFilePath = "C:\\out\\Big Clock Setup.exe";
    i.showMovie = 1;
    i.movieOrImageFile = "C:\\art\\banner.bmp";
    i.showLicence = 1;
    i.licenseFile = "C:\\art\\licence.txt";
    i.includeFlashControl = withoutPlugin ? 1 : 0;
    tabs.SetInstaller(i);
    return tabs;
  }

  fs::path folder_;
  Profile& profile_ = SystemProfile();
  BuildState state_;
};

TEST_F(ProjectFileTest, SavedFileHasSectionsAndKeysInOrder) {
  HeadlessTabs tabs = FullProject(true);
  ASSERT_EQ(SaveProject(tabs, profile_, Path("a.zvp"), state_), 1);
  EXPECT_EQ(Bytes(folder_ / "a.zvp"),
            "[ScreenSaver]\r\nName=Big Clock\r\n"
            "[Movie]\r\nSWFFile=C:\\art\\clock.swf\r\n"
            "ResourceFiles=C:\\art\\tick.wav;D:\\pics\\face.jpg;\r\n"
            "HAlign=Left\r\nVAlign=Bottom\r\nMute=0\r\nQuality=AutoLow\r\nMovieBkgSet=1\r\n"
            "MovieBkgColor=0a0b0c\r\nLoop=FALSE\r\nMovieSize=Exactfit\r\n"
            "[Wallpaper]\r\nBackImage=C:\\art\\back.jpg\r\nAlign=Bottom Right\r\n"
            "PrevMon=C:\\art\\small.bmp\r\n"
            "[SettingsBox]\r\nShowMovie=0\r\n"
            "[Preview]\r\nShowMovie=0\r\nImageFile=C:\\art\\small.bmp\r\n"
            "[Installer]\r\nShowMovie=1\r\nMovieOrImageFile=C:\\art\\banner.bmp\r\n"
            "LicenseFile=C:\\art\\licence.txt\r\nName=Big Clock\r\nFlashControl=1\r\n"
            "InstallerFilePath=C:\\out\\Big Clock Setup.exe\r\n");
}

TEST_F(ProjectFileTest, SaveThenOpenGivesBackEveryStoredField) {
  for (bool withoutPlugin : {true, false}) {
    HeadlessTabs saved = FullProject(withoutPlugin);
    saved.settingsBox.specific = true;
    ASSERT_EQ(SaveProject(saved, profile_, Path("b.zvp"), state_), 1);
    HeadlessTabs opened;
    ASSERT_EQ(OpenProject(opened, profile_, Path("b.zvp")), 1);

    WallpaperSettings a, b;
    saved.GetWallpaper(a);
    opened.GetWallpaper(b);
    EXPECT_EQ(b.movieFile, a.movieFile);
    EXPECT_EQ(b.resourceFiles, a.resourceFiles);
    EXPECT_EQ(b.name, a.name);
    EXPECT_EQ(b.colourText, a.colourText);
    EXPECT_EQ(b.backgroundImage, a.backgroundImage);
    EXPECT_EQ(b.hAlign, a.hAlign);
    EXPECT_EQ(b.vAlign, a.vAlign);
    EXPECT_EQ(b.backgroundPosition, a.backgroundPosition);
    EXPECT_EQ(b.quality, a.quality);
    EXPECT_EQ(b.movieSize, a.movieSize);
    EXPECT_EQ(b.loop, a.loop);
    EXPECT_EQ(opened.preview.ownImage, true);
    EXPECT_EQ(opened.preview.imageFile, "C:\\art\\small.bmp");
    EXPECT_EQ(opened.installer.installerPath, saved.installer.installerPath);
    EXPECT_EQ(opened.installer.specificPicture, true);
    EXPECT_EQ(opened.installer.picturePath, "C:\\art\\banner.bmp");
    EXPECT_EQ(opened.installer.licence, true);
    EXPECT_EQ(opened.installer.licencePath, "C:\\art\\licence.txt");
    EXPECT_EQ(opened.installer.withoutPlugin, withoutPlugin);
    EXPECT_FALSE(opened.settingsBox.specific) << "the reader never reads [SettingsBox]";
  }
}

TEST_F(ProjectFileTest, BuildModeWritesBareNamesAndDefaultPictures) {
  HeadlessTabs tabs = FullProject(false);
  tabs.preview.ownImage = false;
  tabs.installer.specificPicture = false;
  tabs.wallpaper.resourceFiles = " C:\\x\\a.swf ; /home/ann/b.jpg ";
  std::vector<std::pair<std::string, int>> made;
  state_.temporaryFolder = "T:\\tmp\\";
  state_.makePicture = [&made](const std::string& path, int id) {
    made.emplace_back(path, id);
    return path;
  };
  ASSERT_EQ(WriteProjectIni(tabs, profile_, Path("instcfg.ini"), 0, state_), 1);
  EXPECT_EQ(Bytes(folder_ / "instcfg.ini"),
            "[Installer]\r\nShowMovie=1\r\nMovieOrImageFile=Big Clock_build.bmp\r\n"
            "LicenseFile=licence.txt\r\nName=Big Clock\r\nFlashControl=0\r\n"
            "InstallerFilePath=C:\\out\\Big Clock Setup.exe\r\n"
            "[ScreenSaver]\r\nName=Big Clock\r\n"
            "[Movie]\r\nSWFFile=clock.swf\r\nResourceFiles=a.swf;b.jpg;\r\n"
            "HAlign=Left\r\nVAlign=Bottom\r\nMute=0\r\nQuality=AutoLow\r\nMovieBkgSet=1\r\n"
            "MovieBkgColor=0a0b0c\r\nLoop=FALSE\r\nMovieSize=Exactfit\r\n"
            "[Wallpaper]\r\nBackImage=back.jpg\r\nAlign=Bottom Right\r\n"
            "PrevMon=Big ClockPreview.bmp\r\n");
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[0], std::make_pair(std::string("T:\\tmp\\Big ClockPreview.bmp"), 233));
  EXPECT_EQ(made[1], std::make_pair(std::string("T:\\tmp\\Big Clock_build.bmp"), 234));
  EXPECT_TRUE(state_.generatedPreview && state_.generatedInstaller);
  EXPECT_EQ(state_.generatedPreviewImage, made[0].first);
  EXPECT_FALSE(state_.installerImageIsMovie);
}

TEST_F(ProjectFileTest, EmptyResourceListAndUnsetLicenceStayEmptyInBuildMode) {
  HeadlessTabs tabs = FullProject(false);
  tabs.wallpaper.resourceFiles = "";
  tabs.installer.licence = false;
  tabs.installer.picturePath = "c:\\ART\\CLOCK.SWF";  // the movie itself, other letter case
  ASSERT_EQ(WriteProjectIni(tabs, profile_, Path("c.ini"), 0, state_), 1);
  EXPECT_EQ(profile_.ReadString(Path("c.ini"), "Movie", "ResourceFiles", "x"), "");
  EXPECT_EQ(profile_.ReadString(Path("c.ini"), "Installer", "LicenseFile", "x"), "");
  EXPECT_TRUE(state_.installerImageIsMovie);
  EXPECT_FALSE(state_.generatedPreview || state_.generatedInstaller);
}

TEST_F(ProjectFileTest, ReadingFollowsTheStoredTextsRules) {
  std::ofstream(folder_ / "d.zvp", std::ios::binary)
      << "[Movie]\r\nLoop=true\r\nMovieSize=EXACTFIT\r\nQuality=Ultra\r\nMovieBkgColor=12345\r\n"
         "HAlign=Middle\r\n[Preview]\r\nShowMovie=0\r\nImageFile=C:\\only-here.bmp\r\n"
         "[Wallpaper]\r\nAlign=-------------------\r\n[Installer]\r\nFlashControl=1\r\n"
         "LicenseFile=C:\\l.txt\r\n[Extra]\r\nKept=yes\r\n";
  HeadlessTabs tabs;
  ASSERT_EQ(OpenProject(tabs, profile_, Path("d.zvp")), 1);
  WallpaperSettings w;
  tabs.GetWallpaper(w);
  EXPECT_EQ(w.loop, 1);
  EXPECT_EQ(w.movieSize, "Exactfit");
  EXPECT_EQ(w.quality, "High");
  EXPECT_EQ(w.colourText, "000000");
  EXPECT_EQ(w.hAlign, "Center");
  EXPECT_EQ(w.vAlign, "Center");
  EXPECT_EQ(w.backgroundPosition, "Center");
  EXPECT_TRUE(tabs.preview.ownImage);
  EXPECT_EQ(tabs.preview.imageFile, "") << "only [Wallpaper] PrevMon names the preview image";
  EXPECT_TRUE(tabs.installer.withoutPlugin);
  EXPECT_TRUE(tabs.installer.licence);

  std::ofstream(folder_ / "d.zvp", std::ios::binary) << "[Movie]\r\nLoop=1\r\n";
  ASSERT_EQ(OpenProject(tabs, profile_, Path("d.zvp")), 1);
  EXPECT_FALSE(tabs.wallpaper.loop);
  EXPECT_EQ(tabs.wallpaper.size, 2) << "no size word selects No Scale";
}

TEST_F(ProjectFileTest, SavingKeepsForeignKeysInPlace) {
  std::ofstream(folder_ / "e.zvp", std::ios::binary)
      << "[Movie]\r\nOwn=1\r\nSWFFile=old.swf\r\n[Extra]\r\nKept=yes\r\n";
  HeadlessTabs tabs = FullProject(false);
  ASSERT_EQ(SaveProject(tabs, profile_, Path("e.zvp"), state_), 1);
  std::string text = Bytes(folder_ / "e.zvp");
  EXPECT_EQ(text.rfind("[Movie]\r\nOwn=1\r\nSWFFile=C:\\art\\clock.swf\r\n", 0), 0u);
  EXPECT_NE(text.find("[Extra]\r\nKept=yes\r\n[ScreenSaver]"), std::string::npos);
}

class RefusingTabs : public HeadlessTabs {
 public:
  bool GetInstaller(InstallerSettings&) override { return false; }
  bool SetPreview(const PreviewSettings&) override { return false; }
};

TEST_F(ProjectFileTest, RefusalsAndUnwritableFilesAreReported) {
  RefusingTabs refusing;
  EXPECT_EQ(SaveProject(refusing, profile_, Path("f.zvp"), state_), 0);
  EXPECT_FALSE(fs::exists(folder_ / "f.zvp")) << "a refused writer writes nothing";
  EXPECT_EQ(OpenProject(refusing, profile_, Path("f.zvp")), 0);

  HeadlessTabs tabs = FullProject(false);
  EXPECT_EQ(SaveProject(tabs, profile_, Path("no-such-folder/g.zvp"), state_), 0);
}

}  // namespace
}  // namespace zarvane
