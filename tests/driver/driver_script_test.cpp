#include "driver_script.h"

#include <gtest/gtest.h>

namespace zarvane::driver {
namespace {

TEST(DriverScript, GlobMatchesWholeTexts) {
  struct Case {
    const char* pattern;
    const char* text;
    bool match;
  } cases[] = {
      {"Error !", "Error !", true},
      {"Error", "Error !", false},  // whole text, not a prefix
      {"", "", true},
      {"", "x", false},
      {"*", "", true},
      {"*", "any\r\nthing", true},
      {"Done: *", "Done: hello\r\nSee you.", true},
      {"a\nb", "a\r\nb", true},  // control line ends compare as \n
      {"a\r\nb", "a\r\nb", false},
      {"?at", "cat", true},
      {"?at", "at", false},
      {"*.swf", "C:\\a.swf\\b.swf", true},
      {"*a*b", "xaxbxab", true},
      {"*a*b", "xaxbxa", false},
      {"C:\\*\\clock.swf", "C:\\users\\clock.swf", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GlobMatch(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
}

TEST(DriverScript, SplitsScriptFilesKeepingBackslashesAndQuotes) {
  std::vector<std::string> words;
  std::string error;
  ASSERT_TRUE(SplitScript("run \"C:\\Program Files\\x.exe /Q\"  # start it\n"
                          "expect-text 1001 \"say \"\"hi\"\"\"\r\n"
                          "answer-box \"Error !\" \"\" yes\n"
                          "set-text 7 C:\\dir\\\n",
                          words, error));
  std::vector<std::string> expected = {"run", "C:\\Program Files\\x.exe /Q", "expect-text", "1001",
                                       "say \"hi\"", "answer-box", "Error !", "", "yes",
                                       "set-text", "7", "C:\\dir\\"};
  EXPECT_EQ(words, expected);

  words.clear();
  EXPECT_FALSE(SplitScript("run x\nwait-window \"Setup\n", words, error));
  EXPECT_EQ(error, "line 2: quote not closed");
}

TEST(DriverScript, CommandsTakeTheirArguments) {
  std::vector<Command> commands;
  std::string error;
  ASSERT_TRUE(ParseCommands({"run", "a.exe", "dump", "answer-box", "Error !", "*", "yes",
                             "wait-exit", "0"},
                            commands, error));
  ASSERT_EQ(commands.size(), 4u);
  EXPECT_EQ(commands[1].name, "dump");
  EXPECT_TRUE(commands[1].args.empty());
  EXPECT_EQ(commands[2].args, (std::vector<std::string>{"Error !", "*", "yes"}));

  struct Bad {
    std::vector<std::string> words;
    const char* error;
  } bad[] = {
      {{"run"}, "'run' needs 1 argument(s)"},
      {{"run", "a.exe", "click"}, "'click' needs 1 argument(s)"},
      {{"answer-box", "Error !", "text"}, "'answer-box' needs 3 argument(s)"},
      {{"clik", "1"}, "unknown command 'clik'"},
  };
  for (const Bad& b : bad) {
    commands.clear();
    EXPECT_FALSE(ParseCommands(b.words, commands, error));
    EXPECT_EQ(error, b.error);
  }
}

}  // namespace
}  // namespace zarvane::driver
