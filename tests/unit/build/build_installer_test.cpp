#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "archive_format.h"
#include "build_installer.h"
#include "build_installer_headless.h"
#include "locate_flash_control.h"
#include "payload_archive.h"
#include "scripted_prompt.h"
#include "stub_resource.h"
#include "temp_dir.h"

namespace zarvane {
namespace {
namespace fs = std::filesystem;

const unsigned char kStub[] = "MZ stand-in installer program for the build tests";

class BuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterStubResource(kStubResourceId, kStub, sizeof kStub);
    fs::create_directories(dir_ / "tmp");
    fs::create_directories(dir_ / "art");
    fs::create_directories(dir_ / "out");
    for (const char* name : {"clock.swf", "back.jpg", "small.bmp", "banner.bmp", "licence.txt",
                             "a.swf", "b.jpg", "flash.ocx"})
      WriteTextFile(dir_ / "art" / name, std::string("contents of ") + name);
    host_.state.temporaryFolder = Tmp("");
    host_.flashControl = Art("flash.ocx");
    host_.onProgress = [this](int position, int range, const std::string& status) {
      position_ = position;
      range_ = range;
      if (!status.empty() && (statuses_.empty() || statuses_.back() != status))
        statuses_.push_back(status);
    };

    WallpaperSettings w;
    w.name = "Clock";
    w.movieFile = Art("clock.swf");
    w.quality = "High";
    host_.tabs.SetWallpaper(w);
    host_.tabs.SetPreview(PreviewSettings());
    host_.tabs.SetSettingsBox(SettingsBoxSettings());
    InstallerSettings i;
    i.installerFilePath = Output();
    host_.tabs.SetInstaller(i);
  }

  std::string Art(const char* name) { return (dir_ / "art" / name).string(); }
  std::string Tmp(const char* name) { return (dir_ / "tmp").string() + "/" + name; }
  std::string Output() { return (dir_ / "out" / "Clock Setup.exe").string(); }

  std::vector<std::string> Members() {
    PayloadArchive archive;
    EXPECT_EQ(archive.ReadDirectory(Output()), kArchiveOk);
    std::vector<std::string> names;
    for (int i = 0; i < archive.Count(); ++i) names.push_back(archive.Member(i).name);
    return names;
  }

  std::vector<std::string> Leftovers() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ / "tmp"))
      names.push_back(entry.path().filename().string());
    return names;
  }

  TempDir dir_;
  ScriptedPrompt prompt_;
  HeadlessBuildHost host_{prompt_};
  int position_ = -1, range_ = -1;
  std::vector<std::string> statuses_;
};

TEST_F(BuildTest, DefaultPicturesAndControlComeInOrderAndLeaveNothingBehind) {
  host_.tabs.installer.withoutPlugin = false;
  for (int round = 0; round < 2; ++round) {
    statuses_.clear();
    ASSERT_EQ(BuildInstaller(host_), 1) << (prompt_.shown.empty() ? "" : prompt_.shown[0].text);
    EXPECT_EQ(Members(), (std::vector<std::string>{"instcfg.ini", "Clock_build.bmp",
                                                   "ClockPreview.bmp", "flash.ocx", "clock.swf"}));
    EXPECT_TRUE(Leftovers().empty()) << "round " << round;
    EXPECT_FALSE(host_.state.generatedPreview || host_.state.generatedInstaller);
  }
  EXPECT_TRUE(prompt_.shown.empty());
  ASSERT_GE(statuses_.size(), 2u);
  EXPECT_EQ(statuses_[statuses_.size() - 2], "Building Installer...");
  EXPECT_EQ(statuses_.back(), "Build Completed.");
  EXPECT_EQ(position_, 5);
  EXPECT_EQ(range_, 5);
}

TEST_F(BuildTest, ChosenFilesArePackedInTheirPlaces) {
  host_.tabs.wallpaper.backgroundImage = Art("back.jpg");
  host_.tabs.wallpaper.resourceFiles = Art("a.swf") + "; " + Art("b.jpg") + " ;";
  host_.tabs.preview = {true, Art("small.bmp")};
  host_.tabs.installer.specificPicture = true;
  host_.tabs.installer.picturePath = Art("banner.bmp");
  host_.tabs.installer.licence = true;
  host_.tabs.installer.licencePath = Art("licence.txt");
  host_.tabs.installer.withoutPlugin = true;
  ASSERT_EQ(BuildInstaller(host_), 1);
  EXPECT_EQ(Members(), (std::vector<std::string>{"instcfg.ini", "banner.bmp", "licence.txt",
                                                 "back.jpg", "small.bmp", "a.swf", "b.jpg",
                                                 "clock.swf"}));

  // The installer window showing the wallpaper's own movie: it travels once, as the movie.
  host_.tabs.installer.picturePath = Art("clock.swf");
  ASSERT_EQ(BuildInstaller(host_), 1);
  EXPECT_EQ(Members().back(), "clock.swf");
  EXPECT_EQ(Members().size(), 7u);
}

TEST_F(BuildTest, MissingResourceFilesAreListedAndStopTheBuild) {
  WriteTextFile(Output(), "the previous installer");
  host_.tabs.wallpaper.resourceFiles = Art("a.swf") + "; ;" + Art("gone.jpg") + ";";
  EXPECT_EQ(BuildInstaller(host_), 0);
  ASSERT_EQ(prompt_.shown.size(), 1u);
  EXPECT_EQ(prompt_.shown[0].caption, "Error");
  EXPECT_EQ(prompt_.shown[0].style, kPromptOk | kPromptIconExclamation);
  EXPECT_EQ(prompt_.shown[0].text,
            "Unable to access the following resource file(s). Check if the file(s) exist: \n\n"
            "\t\n\t" + Art("gone.jpg") + "\n");
  EXPECT_EQ(ReadWholeFile(Output()), "the previous installer");
}

TEST_F(BuildTest, FirstInvalidTabIsShownAndNothingIsWritten) {
  host_.tabs.installer.licence = true;  // with an empty licence path
  host_.tabs.preview.ownImage = true;   // with an empty image path: this tab comes first
  EXPECT_EQ(BuildInstaller(host_), 0);
  EXPECT_EQ(host_.shownTab, static_cast<int>(ProjectTab::kPreviewWindow));
  ASSERT_EQ(prompt_.shown.size(), 1u);
  EXPECT_EQ(prompt_.shown[0].text, "Bitmap file path cannot be empty.");
  EXPECT_TRUE(Leftovers().empty());
  EXPECT_TRUE(statuses_.empty());
}

TEST_F(BuildTest, FailedWritingRemovesTheOutputAndAnotherBuildCleansUp) {
  RegisterStubResource(kStubResourceId, nullptr, 0);
  StubBytes none;
  if (FindStubResource(kStubResourceId, &none) && none.size > 0)
    GTEST_SKIP() << "this program carries a stub resource of its own";
  WriteTextFile(Output(), "the previous installer");
  EXPECT_EQ(BuildInstaller(host_), 0);
  ASSERT_EQ(prompt_.shown.size(), 1u);
  EXPECT_EQ(prompt_.shown[0].text,
            "Unable to create installer file '" + Output() +
                "'.\nCheck if there is enough disk space and \nappropriate user rights are set "
                "to the folder. ");
  EXPECT_FALSE(fs::exists(Output()));
  EXPECT_EQ(Leftovers().size(), 2u) << "the default pictures stay until a build succeeds";

  RegisterStubResource(kStubResourceId, kStub, sizeof kStub);
  ASSERT_EQ(BuildInstaller(host_), 1);
  EXPECT_TRUE(Leftovers().empty());
}

TEST(LocateFlashControl, FirstNamedFolderThenToolFolder) {
  TempDir dir;
  for (const char* folder : {"sys", "win", "tmp"}) {
    fs::create_directories(dir / folder / "Macromed" / "Flash");
    WriteTextFile(dir / folder / "Macromed" / "Flash" / "flash.ocx", "control");
  }
  fs::create_directories(dir / "empty");
  const std::string base = dir.Path() + "/";
  auto in = [&](const char* folder) {
    return base + folder + "\\Macromed\\Flash\\flash.ocx";
  };
  struct Case {
    std::string system, windows, temporary, expected;
  };
  const Case cases[] = {
      {base + "sys", base + "win", base + "tmp", in("sys")},
      {base + "sys\\", base + "win", base + "tmp", base + "sys\\Macromed\\Flash\\flash.ocx"},
      {"", base + "win", base + "tmp", in("win")},
      {"", "", base + "tmp", in("tmp")},
      // A system folder without the control sends the build to the tool folder, not onwards.
      {base + "empty", base + "win", base + "tmp", base + "tool/flash.ocx"},
      {"", "", "", base + "tool/flash.ocx"},
  };
  for (const Case& c : cases) {
    FlashControlFolders folders{c.system, c.windows, c.temporary, base + "tool/"};
    EXPECT_EQ(LocateFlashControl(folders), c.expected) << c.system << " | " << c.windows;
  }
}

#ifdef _WIN32
TEST_F(BuildTest, AnOldInstallerThatCannotBeDeletedIsOverwrittenWhole) {
  WriteTextFile(Output(), std::string(200000, 'x'));
  HANDLE held = CreateFileA(Output().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileA(Output().c_str()));
  int built = BuildInstaller(host_);
  CloseHandle(held);
  ASSERT_EQ(built, 1);
  std::string bytes = ReadWholeFile(Output());
  ASSERT_LT(bytes.size(), 200000u);
  EXPECT_EQ(bytes.substr(bytes.size() - 10), "!QOBA_SFX!");
}
#endif

}  // namespace
}  // namespace zarvane
