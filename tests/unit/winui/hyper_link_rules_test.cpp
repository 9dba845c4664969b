#include "hyper_link_rules.h"

#include <gtest/gtest.h>

namespace zarvane {

TEST(HyperLinkRules, HttpGoesInFrontOnlyOfLinksWithoutAScheme) {
  const struct {
    const char* given;
    const char* opened;
  } cases[] = {
      {"www.example.com", "http://www.example.com"},
      {"www.example.com:8080/a?id=1", "http://www.example.com:8080/a?id=1"},
      {"mailto:support@example.com", "mailto:support@example.com"},
      {"MAILTO:support@example.com", "MAILTO:support@example.com"},
      {"https://www.example.com/", "https://www.example.com/"},
      {"news:comp.lang", "news:comp.lang"},
      // "file" is no service of its own: with "://" it stays, without it gets the prefix.
      {"file://C:/x.htm", "file://C:/x.htm"},
      {"file:x.htm", "http://file:x.htm"},
      {"C:\\Help\\index.htm", "http://C:\\Help\\index.htm"},
      {"zv-test://anything", "zv-test://anything"},
      {"", "http://"},
  };
  for (const auto& c : cases) EXPECT_EQ(FixUpUrl(c.given), c.opened) << c.given;
}

TEST(HyperLinkRules, BrowserCommandIsCutBeforeItsPlaceholder) {
  const char* url = "http://www.example.com/";
  const struct {
    const char* registered;
    const char* run;
  } cases[] = {
      {"\"C:\\Browser\\browse.exe\" -nohome \"%1\" -x",
       "\"C:\\Browser\\browse.exe\" -nohome  http://www.example.com/"},
      {"C:\\Browser\\browse.exe %1", "C:\\Browser\\browse.exe  http://www.example.com/"},
      // The quoted placeholder wins over an earlier bare one.
      {"browse.exe %1x \"%1\"", "browse.exe %1x  http://www.example.com/"},
      {"\"C:\\Browser\\browse.exe\"", "\"C:\\Browser\\browse.exe\" http://www.example.com/"},
  };
  for (const auto& c : cases) EXPECT_EQ(BrowserCommandLine(c.registered, url), c.run);
}

TEST(HyperLinkRules, FailuresAreToldInWords) {
  EXPECT_EQ(OpenFailureMessage(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
  EXPECT_EQ(OpenFailureMessage(4), "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
  EXPECT_EQ(OpenFailureText(-7), "Unknown Error (-7) occurred.");
  EXPECT_EQ(OpenFailureText(0), "The operating system is out\nof memory or resources.");
  EXPECT_EQ(OpenFailureText(31),
            "There is no application associated\nwith the given filename extension.");
  for (int known : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32})
    EXPECT_EQ(OpenFailureText(known).find("Unknown"), std::string::npos) << known;
}

}  // namespace zarvane
