#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

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
      positions_.push_back(position);
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

  std::vector<std::string> Entries(const char* folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_ / folder))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> Leftovers() { return Entries("tmp"); }

  // The build stopped with one message that names `file`, and wrote nothing.
  void ExpectStoppedNaming(const std::string& file, const char* says) {
    prompt_.shown.clear();
    EXPECT_EQ(BuildInstaller(host_), 0);
    ASSERT_EQ(prompt_.shown.size(), 1u);
    const std::string& text = prompt_.shown[0].text;
    EXPECT_NE(text.find("'" + file + "'"), std::string::npos) << text;
    EXPECT_NE(text.find(says), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(Output()));
    EXPECT_TRUE(Entries("out").empty());
    EXPECT_TRUE(Leftovers().empty());
  }

  TempDir dir_;
  ScriptedPrompt prompt_;
  HeadlessBuildHost host_{prompt_};
  int position_ = -1, range_ = -1;
  std::vector<int> positions_;
  std::vector<std::string> statuses_;
};

TEST_F(BuildTest, DefaultPicturesAndControlComeInOrderAndLeaveNothingBehind) {
  host_.tabs.installer.withoutPlugin = false;
  for (int round = 0; round < 2; ++round) {
    statuses_.clear();
    positions_.clear();
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
  EXPECT_TRUE(std::is_sorted(positions_.begin(), positions_.end()));
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

  // The installer window showing the wallpaper's own movie, or a resource that is the movie,
  // however spelt: it travels once, as the movie, last.
  for (const std::string& again :
       {Art("clock.swf"), (dir_ / "art" / "." / "clock.swf").string()}) {
    host_.tabs.installer.picturePath = again;
    host_.tabs.wallpaper.resourceFiles = again + ";" + Art("a.swf");
    ASSERT_EQ(BuildInstaller(host_), 1);
    EXPECT_EQ(Members(), (std::vector<std::string>{"instcfg.ini", "licence.txt", "back.jpg",
                                                   "small.bmp", "a.swf", "clock.swf"}));
  }
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

TEST_F(BuildTest, FailedWritingLeavesTheOldInstallerAndNoTemporaryFiles) {
  RegisterStubResource(kStubResourceId, nullptr, 0);
  StubBytes none;
  if (FindStubResource(kStubResourceId, &none) && none.size > 0)
    GTEST_SKIP() << "this program carries a stub resource of its own";
  WriteTextFile(Output(), "the previous installer");
  // It is no installer: replacing it is asked, before each build.
  prompt_.answers = {kAnswerYes, kAnswerOk, kAnswerYes};
  EXPECT_EQ(BuildInstaller(host_), 0);
  ASSERT_EQ(prompt_.shown.size(), 2u);
  EXPECT_EQ(prompt_.shown[1].text,
            "Unable to create installer file '" + Output() +
                "'.\nCheck if there is enough disk space and \nappropriate user rights are set "
                "to the folder. ");
  EXPECT_EQ(ReadWholeFile(Output()), "the previous installer");
  EXPECT_EQ(Entries("out"), std::vector<std::string>{"Clock Setup.exe"});
  EXPECT_TRUE(Leftovers().empty());

  RegisterStubResource(kStubResourceId, kStub, sizeof kStub);
  ASSERT_EQ(BuildInstaller(host_), 1);
  EXPECT_TRUE(Leftovers().empty());
}

// A file at the installer path that no build wrote is the author's: Build Now asks before it
// replaces it, and an earlier installer goes without a question.
TEST_F(BuildTest, AFileNoBuildWroteIsReplacedOnlyWhenTheAuthorSaysYes) {
  WriteTextFile(Output(), "my notes");
  prompt_.answers = {kAnswerNo};
  EXPECT_EQ(BuildInstaller(host_), 0);
  ASSERT_EQ(prompt_.shown.size(), 1u);
  EXPECT_EQ(prompt_.shown[0].caption, "Replace");
  EXPECT_EQ(prompt_.shown[0].style, kPromptYesNo | kPromptIconQuestion);
  EXPECT_EQ(prompt_.shown[0].text, "The file '" + Output() +
                                       "' is not an installer.\nDo you want to replace it with "
                                       "the installer?");
  EXPECT_EQ(ReadWholeFile(Output()), "my notes");
  EXPECT_TRUE(Leftovers().empty());

  prompt_.shown.clear();
  prompt_.answers = {kAnswerYes};
  ASSERT_EQ(BuildInstaller(host_), 1);
  EXPECT_EQ(prompt_.shown.size(), 1u);
  prompt_.shown.clear();
  ASSERT_EQ(BuildInstaller(host_), 1);
  EXPECT_TRUE(prompt_.shown.empty());
  EXPECT_EQ(Members().back(), "clock.swf");
}

TEST_F(BuildTest, AnOutputThatIsOneOfTheInputsIsRefusedBeforeAnythingIsTouched) {
  host_.projectFile = Art("clock.zvp");
  WriteTextFile(host_.projectFile, "[ScreenSaver]\r\nName=Clock\r\n");
  host_.tabs.installer.installerPath = Art("clock.swf");
  EXPECT_EQ(BuildInstaller(host_), 0) << "a project without resource files";
  host_.tabs.installer.withoutPlugin = false;
  host_.tabs.installer.licence = true;
  host_.tabs.installer.licencePath = Art("licence.txt");
  host_.tabs.wallpaper.resourceFiles = Art("a.swf") + ";";
  std::string art = (dir_ / "art").string();
  std::vector<std::string> inputs = {
      host_.projectFile, Art("clock.swf"), Art("licence.txt"), Art("a.swf"), Art("flash.ocx"),
      // Other spellings of the movie, as Windows reads paths.
      art + "/../art/./CLOCK.SWF", art + "\\clock.swf..", art + "//clock.swf",
      // A folder that holds one of them.
      art, art + "/"};
#ifndef _WIN32
  fs::create_symlink(Art("clock.swf"), dir_ / "out" / "link.exe");
  fs::create_hard_link(Art("a.swf"), dir_ / "out" / "hard.exe");
  inputs.push_back((dir_ / "out" / "link.exe").string());
  inputs.push_back((dir_ / "out" / "hard.exe").string());
#endif
  for (const std::string& output : inputs) {
    SCOPED_TRACE(output);
    prompt_.shown.clear();
    host_.tabs.installer.installerPath = output;
    EXPECT_EQ(BuildInstaller(host_), 0);
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].text, "Unable to create installer file '" + output +
                                         "'.\nIt is one of the files the installer is built "
                                         "from; choose another installer file path. ");
    EXPECT_EQ(host_.shownTab, static_cast<int>(ProjectTab::kInstaller));
    EXPECT_TRUE(statuses_.empty());
    EXPECT_TRUE(Leftovers().empty());
  }
  EXPECT_EQ(ReadWholeFile(Art("clock.swf")), "contents of clock.swf");
  EXPECT_EQ(ReadWholeFile(host_.projectFile), "[ScreenSaver]\r\nName=Clock\r\n");

  // Something that is no file at the output path is never replaced.
  std::vector<std::string> nonFiles = {(dir_ / "out").string()};
#ifndef _WIN32
  fs::create_symlink("/dev/null", dir_ / "out" / "device.exe");
  nonFiles.push_back((dir_ / "out" / "device.exe").string());
#else
  nonFiles.push_back((dir_ / "out" / "nul .exe").string());
#endif
  for (const std::string& output : nonFiles) {
    SCOPED_TRACE(output);
    prompt_.shown.clear();
    host_.tabs.installer.installerPath = output;
    EXPECT_EQ(BuildInstaller(host_), 0);
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_NE(prompt_.shown[0].text.find("A folder or device of that name is in the way"),
              std::string::npos);
  }
  EXPECT_TRUE(fs::is_directory(dir_ / "out"));
#ifndef _WIN32
  EXPECT_TRUE(fs::is_symlink(dir_ / "out" / "device.exe"));
#endif
}

TEST_F(BuildTest, EveryFileIsPackedOrTheBuildStopsNamingIt) {
  // 300 resource files with names short enough for the installer's list: the 257th member is
  // the 254th of them.
  std::string list;
  std::vector<std::string> resources;
  fs::create_directories(dir_ / "many");
  for (int i = 0; i < 300; ++i) {
    std::string name = {char('a' + i / 26), char('a' + i % 26)};
    resources.push_back((dir_ / "many" / name).string());
    WriteTextFile(resources.back(), name);
    list += resources.back() + ";";
  }
  host_.tabs.wallpaper.resourceFiles = list;
  ExpectStoppedNaming(resources[253], "An installer holds at most 256 files.");

  host_.tabs.wallpaper.resourceFiles.clear();
  WriteTextFile(dir_ / "art" / "con.swf", "a movie under a device's name");
  host_.tabs.wallpaper.movieFile = Art("con.swf");
  ExpectStoppedNaming(Art("con.swf"), "Windows cannot create a file of this name");
  host_.tabs.wallpaper.movieFile = Art("clock.swf");
#ifndef _WIN32
  // Sparse: 4 GiB and a byte, more than a directory record can say.
  fs::resize_file(Art("b.jpg"), 0x100000001ull);
  host_.tabs.wallpaper.backgroundImage = Art("b.jpg");
  ExpectStoppedNaming(Art("b.jpg"), "The file is too large for an installer.");
  host_.tabs.wallpaper.backgroundImage.clear();
#endif

  // A default picture that cannot be written is not left out.
  host_.state.makePicture = [](const std::string& path, int id) {
    return id == 234 ? std::string() : (WriteTextFile(path, "picture"), path);
  };
  prompt_.shown.clear();
  EXPECT_EQ(BuildInstaller(host_), 0);
  ASSERT_EQ(prompt_.shown.size(), 1u);
  EXPECT_EQ(prompt_.shown[0].text.rfind("Unable to save picture '", 0), 0u);
  EXPECT_NE(prompt_.shown[0].text.find("Clock_build.bmp'"), std::string::npos);
  EXPECT_FALSE(fs::exists(Output()));
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(BuildTest, EveryMemberTravelsUnderANameOfItsOwn) {
  fs::create_directories(dir_ / "res");
  for (const char* name : {"clock.swf", "FLASH.OCX", "instcfg.ini", "uninstall.exe"})
    WriteTextFile(dir_ / "res" / name, "a resource");
  auto res = [this](const char* name) { return (dir_ / "res" / name).string(); };
  host_.tabs.installer.withoutPlugin = false;
  const struct {
    const char* resource;
    std::string named, says;
  } cases[] = {
      {"clock.swf", Art("clock.swf"), "It would have the same name in the installer as '" +
                                          res("clock.swf") + "'"},
      {"FLASH.OCX", Art("flash.ocx"), "It would have the same name in the installer as '" +
                                          res("FLASH.OCX") + "'"},
      {"instcfg.ini", res("instcfg.ini"), "The installer gives its own file this name"},
      {"uninstall.exe", res("uninstall.exe"), "The installer gives its own file this name"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.resource);
    host_.tabs.wallpaper.resourceFiles = res(c.resource);
    ExpectStoppedNaming(c.named, c.says.c_str());
  }

  // One file chosen twice travels once.
  host_.tabs.wallpaper.resourceFiles = Art("a.swf") + ";" + Art("a.swf");
  host_.tabs.wallpaper.backgroundImage = Art("small.bmp");
  host_.tabs.preview = {true, Art("small.bmp")};
  prompt_.shown.clear();
  ASSERT_EQ(BuildInstaller(host_), 1) << prompt_.shown.at(0).text;
  EXPECT_EQ(Members(), (std::vector<std::string>{"instcfg.ini", "Clock_build.bmp", "small.bmp",
                                                 "a.swf", "flash.ocx", "clock.swf"}));
}

TEST_F(BuildTest, AResourceListLongerThanTheInstallerReadsIsRefused) {
  // Bare names each followed by ";": 92 names of 10 characters and one of `last` make the list.
  for (int last : {10, 11}) {
    std::string list;
    for (int i = 0; i < 93; ++i) {
      std::string name = i < 92 ? "r" + std::to_string(100000000 + i) : std::string(last, 'z');
      WriteTextFile(dir_ / "art" / name, name);
      list += Art(name.c_str()) + ";";
    }
    host_.tabs.wallpaper.resourceFiles = list;
    prompt_.shown.clear();
    if (last == 10) {
      EXPECT_EQ(BuildInstaller(host_), 1) << "1023 characters fit";
      continue;
    }
    EXPECT_EQ(BuildInstaller(host_), 0);
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].text,
              "Unable to save the resource file names to 'instcfg.ini': they take 1024 "
              "characters, the installer reads 1023.\nUse fewer resource files or shorter file "
              "names. ");
  }
}

TEST_F(BuildTest, TemporaryFilesStayInAFolderOfTheBuildsOwn) {
  // Files of the user's under the names the build gives its own, and a planted link.
  WriteTextFile(dir_ / "tmp" / "instcfg.ini", "the user's own");
  WriteTextFile(dir_ / "tmp" / "ClockPreview.bmp", "the user's own");
  std::vector<std::string> before = {"ClockPreview.bmp", "instcfg.ini"};
#ifndef _WIN32
  WriteTextFile(dir_ / "victim.txt", "untouched");
  fs::create_symlink(dir_ / "victim.txt", dir_ / "tmp" / "Clock_build.bmp");
  before.insert(before.begin() + 1, "Clock_build.bmp");
#endif
  ASSERT_EQ(BuildInstaller(host_), 1);
  EXPECT_EQ(Leftovers(), before);
  EXPECT_EQ(ReadWholeFile(dir_ / "tmp" / "instcfg.ini"), "the user's own");
#ifndef _WIN32
  EXPECT_EQ(ReadWholeFile(dir_ / "victim.txt"), "untouched");
#endif

  // No temporary folder to be had: nothing lands in the current folder instead.
  fs::path here = fs::current_path();
  fs::create_directories(dir_ / "cwd");
  fs::current_path(dir_ / "cwd");
  for (std::string folder : {std::string(), Tmp("missing/")}) {
    SCOPED_TRACE(folder);
    host_.state.temporaryFolder = folder;
    prompt_.shown.clear();
    EXPECT_EQ(BuildInstaller(host_), 0);
    ASSERT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(prompt_.shown[0].text.rfind("Unable to create a folder for the build in '" + folder +
                                              "'.",
                                          0),
              0u);
    EXPECT_TRUE(Entries("cwd").empty());
  }
  fs::current_path(here);
}

TEST_F(BuildTest, AKilledBuildsFolderIsTakenAwayByTheNext) {
#ifdef _WIN32
  const std::string running = std::to_string(GetCurrentProcessId());
#else
  const std::string running = std::to_string(getpid());
#endif
  // 999999999: no process has that number, on either system.
  const std::string folders[] = {"zarvane-build-999999999-0", "zarvane-build-" + running + "-7",
                                 "zarvane-build-notes"};
  for (const std::string& folder : folders) fs::create_directories(dir_ / "tmp" / folder);
  WriteTextFile(dir_ / "tmp" / "zarvane-build-999999999-0" / "instcfg.ini", "killed");
  WriteTextFile(dir_ / "tmp" / ("zarvane-build-" + running + "-7") / "instcfg.ini", "running");
  WriteTextFile(dir_ / "tmp" / "zarvane-build-notes" / "mine.txt", "the user's own");
  ASSERT_EQ(BuildInstaller(host_), 1);
  EXPECT_EQ(Leftovers(),
            (std::vector<std::string>{"zarvane-build-" + running + "-7", "zarvane-build-notes"}));
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
  prompt_.answers = {kAnswerYes};  // no installer: replacing it is asked
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
