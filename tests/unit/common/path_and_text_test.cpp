#include <gtest/gtest.h>

#include "path_words.h"
#include "text.h"

namespace zarvane {

TEST(PathWords, BareNameAndFolderTakeEitherSeparator) {
  struct Case { const char* path; const char* bare; const char* folder; };
  const Case cases[] = {
      {"C:\\movies\\clock.swf", "clock.swf", "C:\\movies\\"},
      {"/home/ann/clock.swf", "clock.swf", "/home/ann/"},
      {"C:\\mixed/dir\\a b.swf", "a b.swf", "C:\\mixed/dir\\"},
      {"clock.swf", "clock.swf", ""},
      {"C:\\movies\\", "", "C:\\movies\\"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BareName(c.path), c.bare) << c.path;
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
  }
}

TEST(PathWords, TrailingBackslashIsExactlyOne) {
  EXPECT_EQ(WithTrailingBackslash("C:\\a"), "C:\\a\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\a\\\\"), "C:\\a\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\a/"), "C:\\a\\");
  EXPECT_EQ(WithTrailingBackslash(""), "");
}

TEST(PathWords, DeviceNamesWhateverFollowsThem) {
  for (const char* device : {"con", "CON", "nul.txt", "nul .txt", "con ", "aux .xml", "Prn.",
                             "com1", "LPT9.dat", "con.a.b", "nul  . x"})
    EXPECT_TRUE(IsWindowsDeviceName(device)) << "'" << device << "'";
  for (const char* plain : {"console", "nul_", "com0", "com10", "lpt", " con", "xnul", "a.con",
                            "", "."})
    EXPECT_FALSE(IsWindowsDeviceName(plain)) << "'" << plain << "'";
}

TEST(Text, TrimAndCaseInsensitiveComparison) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(Trim(" \t\r\n"), "");
  EXPECT_TRUE(EqualsIgnoreCase("Stretch", "sTRETCH"));
  EXPECT_FALSE(EqualsIgnoreCase("Stretch", "Stretc"));
  EXPECT_TRUE(StartsWithIgnoreCase("c:\\windows\\web\\wallpaper\\x", "C:\\WINDOWS\\Web\\WallPaper\\"));
  EXPECT_FALSE(StartsWithIgnoreCase("C:\\WIN", "C:\\WINDOWS"));
}

}  // namespace zarvane
