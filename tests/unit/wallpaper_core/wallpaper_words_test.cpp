#include <gtest/gtest.h>

#include "wallpaper_words.h"

namespace zarvane {

TEST(ColourText, ReadsPairsRedFirstAndWritesLowerCase) {
  struct Case { const char* text; Colour value; const char* back; };
  const Case cases[] = {
      {"00FF80", 0x80FF00, "00ff80"},
      {"0A0B0C", 0x0C0B0A, "0a0b0c"},
      {"FFFFFF", 0xFFFFFF, "ffffff"},
      {"ffffff", 0xFFFFFF, "ffffff"},
      {"0ab001", 0x01B00A, "0ab001"},
      {"1zzz33", 0x330001, "010033"},  // a pair stops at its first non-hex digit
      {"12345", 0, "000000"},
      {"1234567", 0, "000000"},
      {"FFF", 0, "000000"},
      {"", 0, "000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColourFromText(c.text), c.value) << c.text;
    EXPECT_EQ(ColourToText(ColourFromText(c.text)), c.back) << c.text;
  }
}

TEST(SplitFileList, SeparatorsBlanksAndEmptyItems) {
  struct Case { const char* text; std::vector<std::string> items; };
  const Case cases[] = {
      {"a.xml;b.txt;", {"a.xml", "b.txt"}},
      {"  a.xml ; b.txt  ", {"a.xml", "b.txt"}},
      {"a.xml;;b.txt", {"a.xml", "", "b.txt"}},
      {";", {""}},
      {"\r\n a b.txt \t", {"a b.txt"}},
      {"C:\\x\\a.xml; C:\\y\\b.png;", {"C:\\x\\a.xml", "C:\\y\\b.png"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> items;
    SplitFileList(c.text, items);
    EXPECT_EQ(items, c.items) << c.text;
  }
}

TEST(SplitFileList, AppendsToTheListButABlankTextEmptiesIt) {
  std::vector<std::string> items = {"kept"};
  SplitFileList("new", items);
  EXPECT_EQ(items, (std::vector<std::string>{"kept", "new"}));
  SplitFileList(" \t ", items);
  EXPECT_TRUE(items.empty());
}

TEST(Vocabulary, Salign) {
  EXPECT_EQ(SalignOf("Center", "Center"), "CC");
  EXPECT_EQ(SalignOf("Left", "Top"), "LT");
  EXPECT_EQ(SalignOf("", "Top"), "");
  EXPECT_EQ(SalignOf("Right", ""), "R");
}

}  // namespace zarvane
