#include "tip_table.h"

#include <gtest/gtest.h>

namespace zarvane {
namespace {

TEST(TipTable, LastMatchingRowWins) {
  const TipRow rows[] = {
      {7, "Tips", "first", kButtonSetFocus},
      {7, "Tips", "other code", kEditSetFocus},
      {7, "Later", "second", kButtonSetFocus},
      {0, nullptr, nullptr, 0},
      {7, "Tips", "after the end", kButtonSetFocus},
  };
  std::string title = "kept", text = "kept";
  EXPECT_FALSE(LookUpTip(rows, 8, kButtonSetFocus, title, text));
  EXPECT_EQ(title + text, "keptkept");
  ASSERT_TRUE(LookUpTip(rows, 7, kButtonSetFocus, title, text));
  EXPECT_EQ(title, "Later");
  EXPECT_EQ(text, "second");
}

TEST(TipTable, ToolRows) {
  struct Case {
    int id, code;
    const char* text;
  } cases[] = {
      {1020, kEditSetFocus, "Specify a Flash movie to be used to create a wallpaper"},
      // one id, two pages: the code tells the position list from the picture path
      {1032, kComboSetFocus, "Specify the positioning of the image."},
      {1032, kEditSetFocus, "Specify a bitmap file. Eg. Company's logo"},
      {1009, kButtonSetFocus, "Uncheck this option to build with Flash-plugin."},
  };
  for (const Case& c : cases) {
    std::string title, text;
    ASSERT_TRUE(LookUpTip(c.id, c.code, title, text)) << c.id;
    EXPECT_EQ(title, "Tips");
    EXPECT_EQ(text, c.text);
  }
  std::string title, text;
  EXPECT_FALSE(LookUpTip(1020, kButtonSetFocus, title, text));
  EXPECT_FALSE(LookUpTip(1071, kButtonSetFocus, title, text)) << "Build Now has no tip";
}

}  // namespace
}  // namespace zarvane
