#include <gtest/gtest.h>

#include "temp_dir.h"
#include "wallpaper_page.h"

namespace zarvane {
namespace {

WallpaperPageFields Demo() {
  WallpaperPageFields f;
  f.name = "Demo";
  f.movieSource = "C:\\movies\\clock.swf";
  f.imageSource = "D:/pictures/clock.bmp";
  f.backgroundSource = "C:\\pictures\\sky.jpg";
  f.backgroundColour = 0xFFFFFF;
  f.backgroundPosition = "Center";
  f.hAlign = "Center";
  f.vAlign = "Top";
  f.quality = "High";
  f.loop = "TRUE";
  f.scale = "showall";
  return f;
}

bool Contains(const std::string& page, const std::string& text) {
  return page.find(text) != std::string::npos;
}

const char kStretchBlock[] =
    "<img src=\"Demo\\sky.jpg\" width=100% height=100% NAME=\"Bg\">\r\n"
    "<SCRIPT LANGUAGE=JavaScript1.2>\r\n"
    "<!---\r\n"
    "document.getElementById(\"Bg\").style.width = screen.width;\r\n"
    "document.getElementById(\"Bg\").style.height = screen.height;\r\n"
    "</SCRIPT>\r\n";

}  // namespace

TEST(WallpaperPage, DemoPageMatchesTheGoldenFileByteForByte) {
  const std::string golden =
      ReadWholeFile(std::filesystem::path(ZARVANE_SOURCE_DIR) / "tests/fixtures/demo_page.htm");
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(WallpaperPageText(Demo()), golden);
}

TEST(WallpaperPage, PositionWordDecidesRepeatAndStretchInAnyCase) {
  struct Case { const char* position; const char* repeat; bool stretch; };
  const Case cases[] = {
      {"Tile", "repeat", false},   {"tile", "repeat", false},   {"Stretch", "no-repeat", true},
      {"stretch", "no-repeat", true}, {"Top Left", "no-repeat", false}, {"", "no-repeat", false},
  };
  for (const Case& c : cases) {
    WallpaperPageFields f = Demo();
    f.backgroundPosition = c.position;
    const std::string page = WallpaperPageText(f);
    EXPECT_TRUE(Contains(page, std::string("background-repeat:") + c.repeat + ";\r\n")) << c.position;
    EXPECT_TRUE(Contains(page, std::string("background-position: ") + c.position + ";\r\n"));
    EXPECT_EQ(Contains(page, kStretchBlock), c.stretch) << c.position;
    if (c.stretch) {  // the block stands between the layer's style and its end
      EXPECT_TRUE(Contains(page, std::string("z-index:1;\">\r\n") + kStretchBlock + "</div>\r\n"));
    }
  }
}

TEST(WallpaperPage, MissingFilesAndEmptyWordsStillWriteEveryPiece) {
  WallpaperPageFields f;
  f.name = "Bare";
  const std::string page = WallpaperPageText(f);
  EXPECT_TRUE(Contains(page, "background-image:url(&quot;Bare\\&quot;);\r\n"));
  EXPECT_TRUE(Contains(page, "<IMG SRC=\"Bare\\\" WIDTH="));
  EXPECT_TRUE(Contains(page, "<PARAM NAME=\"MOVIE\" VALUE=\"Bare\\\">"));
  EXPECT_TRUE(Contains(page, "<div align= valign= style="));
  EXPECT_TRUE(Contains(page, "<PARAM NAME=\"QUALITY\" VALUE=\"\">"));
  EXPECT_TRUE(Contains(page, "<PARAM NAME=\"SALIGN\" VALUE=\"\">"));
  EXPECT_TRUE(Contains(page, "background-position: ;\r\n"));
  EXPECT_EQ(page.substr(page.size() - 9), "\r\n</HTML>");
}

TEST(WallpaperPage, PathsAndColourGoInUnchanged) {
  WallpaperPageFields f = Demo();
  f.name = "My \"Sky\"";
  f.movieSource = "C:\\a b\\tick tock.swf";
  f.backgroundColour = 0x01B00A;
  const std::string page = WallpaperPageText(f);
  EXPECT_TRUE(Contains(page, "VALUE=\"My \"Sky\"\\tick tock.swf\">"));
  EXPECT_TRUE(Contains(page, "bgcolor=\"#0ab001\""));
  EXPECT_TRUE(Contains(page, "background-color: #0ab001;"));
}

}  // namespace zarvane
