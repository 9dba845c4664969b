#pragma once
// The driver's script language without the windows: words of a script file, the commands and
// their argument counts, and the patterns expected texts are written in.
#include <string>
#include <vector>

namespace zarvane::driver {

// Words of a script file: separated by blanks and line ends; "..." keeps blanks, "" inside
// quotes is one quote; backslashes are plain characters (Windows paths); # starts a comment
// that runs to the end of the line. Returns false, with a reason, for an unclosed quote.
bool SplitScript(const std::string& text, std::vector<std::string>& words, std::string& error);

// Whole-text match: * any run of characters (line ends too), ? any one character. Line ends of
// the text are compared as "\n" whatever the control holds ("\r\n").
bool GlobMatch(const std::string& pattern, const std::string& text);

struct Command {
  std::string name;
  std::vector<std::string> args;
};

// Splits words into commands by their argument counts; false, with a reason, for an unknown
// command or missing arguments.
bool ParseCommands(const std::vector<std::string>& words, std::vector<Command>& commands,
                   std::string& error);

extern const char kUsage[];

}  // namespace zarvane::driver
