#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "installer_config.h"
#include "profile.h"

namespace zarvane {
namespace {

// A real instcfg.ini as the build writes it, read through the platform's profile functions
// (Windows' own under Wine, ours natively).
class InstallerConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ZARVANE_BINARY_DIR "/installer_config_test/";
    std::remove((folder_ + "instcfg.ini").c_str());
  }
  void Write(const std::string& text) {
    std::filesystem::create_directories(folder_);
    std::FILE* f = std::fopen((folder_ + "instcfg.ini").c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    SystemProfile().Flush(folder_ + "instcfg.ini");
  }
  std::string folder_;
};

TEST_F(InstallerConfigTest, EveryKeyAndWhichOnesArePrefixed) {
  Write(
      "[Installer]\r\nShowMovie=1\r\nMovieOrImageFile=intro.swf\r\nLicenseFile=licence.txt\r\n"
      "Name=Clock Wall\r\nFlashControl=1\r\nInstallerFilePath=C:\\out\\Clock Setup.exe\r\n"
      "[Movie]\r\nSWFFile=clock.swf\r\nResourceFiles=a.xml;b.jpg\r\nHAlign=Left\r\n"
      "VAlign=Top\r\nMovieBkgColor=ff8000\r\nMovieSize=noscale\r\nQuality=Best\r\n"
      "Loop=FALSE\r\nMute=1\r\n"
      "[Wallpaper]\r\nBackImage=back.jpg\r\nAlign=Tile\r\nPrevMon=preview.bmp\r\n");
  InstallerConfig c = ReadInstallerConfig(SystemProfile(), folder_);
  EXPECT_EQ(c.baseFolder, folder_);  // already ends in a separator
  EXPECT_EQ(c.showMovie, 1);
  EXPECT_EQ(c.movieOrImageFile, folder_ + "intro.swf");
  EXPECT_EQ(c.licenseFile, folder_ + "licence.txt");
  EXPECT_EQ(c.name, "Clock Wall");
  EXPECT_EQ(c.movieFile, "clock.swf");
  EXPECT_EQ(c.Prefixed(c.movieFile), folder_ + "clock.swf");
  EXPECT_EQ(c.resourceFileList, "a.xml;b.jpg");
  ASSERT_EQ(c.resourceFiles.size(), 2u);
  EXPECT_EQ(c.resourceFiles[1], "b.jpg");
  EXPECT_EQ(c.hAlign + c.vAlign, "LeftTop");
  EXPECT_EQ(c.backgroundColour, "ff8000");
  EXPECT_EQ(c.size, "noscale");
  EXPECT_EQ(c.quality, "Best");
  EXPECT_EQ(c.loop, "FALSE");
  EXPECT_EQ(c.backgroundImageFile, "back.jpg");
  EXPECT_EQ(c.backgroundPosition, "Tile");
  EXPECT_EQ(c.imageFile, "preview.bmp");
}

TEST_F(InstallerConfigTest, MissingFileOrKeysGiveEmptyValues) {
  InstallerConfig none = ReadInstallerConfig(SystemProfile(), folder_);
  EXPECT_EQ(none.showMovie, 0);
  EXPECT_EQ(none.name, "");
  EXPECT_EQ(none.licenseFile, "");  // an empty name is not prefixed
  EXPECT_TRUE(none.resourceFiles.empty());
  EXPECT_EQ(none.Prefixed(""), "");

  // A value longer than the 1023 characters the installer reads is cut there.
  Write("[Installer]\r\nName=" + std::string(1500, 'n') + "\r\nShowMovie=abc\r\n");
  InstallerConfig longName = ReadInstallerConfig(SystemProfile(), folder_);
  EXPECT_EQ(longName.name.size(), 1023u);
  EXPECT_EQ(longName.showMovie, 0);
}

}  // namespace
}  // namespace zarvane
