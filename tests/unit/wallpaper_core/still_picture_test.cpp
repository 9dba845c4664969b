#include "still_picture.h"

#include <gtest/gtest.h>

namespace zarvane {
namespace {

// 2 x 2: red green / blue white, as 0x00RRGGBB.
Picture Quad() {
  Picture p;
  p.width = 2;
  p.height = 2;
  p.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  return p;
}

// Rows of the picture as hexadecimal words, so a failure shows the whole screen.
std::string Rows(const Picture& p) {
  std::string out;
  const char* digits = "0123456789abcdef";
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      std::uint32_t v = p.pixels[std::size_t(y) * p.width + x];
      for (int shift = 20; shift >= 0; shift -= 4) out += digits[(v >> shift) & 0xF];
      out += x + 1 < p.width ? " " : "";
    }
    out += "\n";
  }
  return out;
}

// Project colour text 112233: red 0x11 sits in the low byte.
constexpr Colour kColour = 0x332211;

TEST(StillPicture, PlacesTheBackgroundAsThePageDoes) {
  struct Case {
    const char* position;
    int width, height;
    bool image;
    const char* rows;
  } cases[] = {
      {"Center", 3, 2, false, "112233 112233 112233\n112233 112233 112233\n"},
      {"Tile", 3, 3, true,
       "ff0000 00ff00 ff0000\n0000ff ffffff 0000ff\nff0000 00ff00 ff0000\n"},
      {"Center", 4, 4, true,
       "112233 112233 112233 112233\n112233 ff0000 00ff00 112233\n"
       "112233 0000ff ffffff 112233\n112233 112233 112233 112233\n"},
      {"Stretch", 4, 2, true, "ff0000 ff0000 00ff00 00ff00\n0000ff 0000ff ffffff ffffff\n"},
      {"Bottom Right", 3, 3, true,
       "112233 112233 112233\n112233 ff0000 00ff00\n112233 0000ff ffffff\n"},
      {"Top Left", 3, 3, true,
       "ff0000 00ff00 112233\n0000ff ffffff 112233\n112233 112233 112233\n"},
      // Larger than the screen: cut off evenly around the middle, never outside it.
      {"Center", 1, 1, true, "ffffff\n"},
      {"Bottom Right", 1, 1, true, "ffffff\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.position) + " " + std::to_string(c.width) + "x" +
                 std::to_string(c.height));
    Picture still = ComposeStillPicture(kColour, c.image ? Quad() : Picture(), c.position,
                                        c.width, c.height);
    EXPECT_EQ(Rows(still), c.rows);
  }
}

// Columns repeat by the image's width and rows by its height, never the other way round.
TEST(StillPicture, TilesANonSquareImage) {
  Picture wide;
  wide.width = 3;
  wide.height = 2;
  wide.pixels = {0x000001, 0x000002, 0x000003, 0x000004, 0x000005, 0x000006};
  EXPECT_EQ(Rows(ComposeStillPicture(kColour, wide, "Tile", 5, 3)),
            "000001 000002 000003 000001 000002\n"
            "000004 000005 000006 000004 000005\n"
            "000001 000002 000003 000001 000002\n");
  Picture tall;
  tall.width = 1;
  tall.height = 3;
  tall.pixels = {0x00000a, 0x00000b, 0x00000c};
  EXPECT_EQ(Rows(ComposeStillPicture(kColour, tall, "tile", 2, 4)),
            "00000a 00000a\n00000b 00000b\n00000c 00000c\n00000a 00000a\n");
}

TEST(StillPicture, LargerImageCentredKeepsItsMiddle) {
  Picture big;
  big.width = 4;
  big.height = 3;
  for (std::uint32_t i = 0; i < 12; ++i) big.pixels.push_back(i);
  EXPECT_EQ(Rows(ComposeStillPicture(kColour, big, "Center", 2, 1)), "000005 000006\n");
}

TEST(StillPicture, WritesA24BitBottomUpBmpWithPaddedRows) {
  Picture p;
  p.width = 1;
  p.height = 2;
  p.pixels = {0x102030, 0x405060};  // top, bottom
  const std::string bmp = EncodeBmp24(p);
  ASSERT_EQ(bmp.size(), 54u + 2 * 4);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bmp[2]), 62);  // file size
  EXPECT_EQ(static_cast<unsigned char>(bmp[10]), 54);  // pixel offset
  EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24);  // bits per pixel
  EXPECT_EQ(static_cast<unsigned char>(bmp[22]), 2);   // height positive: bottom row first
  EXPECT_EQ(bmp.substr(54), std::string("\x60\x50\x40\0\x30\x20\x10\0", 8));

  // Each row: blue, green, red per pixel, then zeros up to the next multiple of 4 bytes.
  const struct {
    int width;
    const char* bottomRow;
  } widths[] = {{1, "0a0b0c00"},
                {2, "0a0b0c1a1b1c0000"},
                {3, "0a0b0c1a1b1c2a2b2c000000"},
                {4, "0a0b0c1a1b1c2a2b2c3a3b3c"}};
  for (const auto& w : widths) {
    SCOPED_TRACE("width " + std::to_string(w.width));
    Picture row;
    row.width = w.width;
    row.height = 2;
    for (int x = 0; x < w.width; ++x) row.pixels.push_back(0xFFFFFF);  // top
    for (int x = 0; x < w.width; ++x) row.pixels.push_back(0x0c0b0a + 0x101010u * x);
    const std::string encoded = EncodeBmp24(row);
    const std::size_t stride = std::string(w.bottomRow).size() / 2;
    ASSERT_EQ(encoded.size(), 54 + 2 * stride);
    EXPECT_EQ(static_cast<unsigned char>(encoded[34]), 2 * stride);  // image size
    std::string hex;
    for (std::size_t i = 0; i < stride; ++i) {
      const unsigned char byte = encoded[54 + i];
      hex += "0123456789abcdef"[byte >> 4];
      hex += "0123456789abcdef"[byte & 0xF];
    }
    EXPECT_EQ(hex, w.bottomRow);
    EXPECT_EQ(encoded.substr(54 + stride, 3 * w.width), std::string(3 * w.width, '\xff'));
    EXPECT_EQ(encoded.substr(54 + stride + 3 * w.width), std::string(stride - 3 * w.width, '\0'));
  }
}

TEST(StillPicture, StyleValuesFollowThePosition) {
  EXPECT_STREQ(StyleForPosition("tile").tile, "1");
  EXPECT_STREQ(StyleForPosition("Tile").style, "0");
  EXPECT_STREQ(StyleForPosition("Stretch").style, "2");
  EXPECT_STREQ(StyleForPosition("Stretch").tile, "0");
  EXPECT_STREQ(StyleForPosition("Top Left").style, "0");
  EXPECT_STREQ(StyleForPosition("Top Left").tile, "0");

  // A frame of the movie is never tiled; only a stretching project stretches it.
  const struct {
    const char* position;
    bool movieFrame;
    const char* styleAndTile;
  } stills[] = {{"Tile", false, "0/1"}, {"Tile", true, "0/0"},       {"stretch", true, "2/0"},
                {"Center", true, "0/0"}, {"Bottom Right", true, "0/0"}, {"Stretch", false, "2/0"}};
  for (const auto& s : stills) {
    const WallpaperStyleValues v = StyleForStill(s.position, s.movieFrame);
    EXPECT_EQ(std::string(v.style) + "/" + v.tile, s.styleAndTile) << s.position << s.movieFrame;
  }
}

}  // namespace
}  // namespace zarvane
