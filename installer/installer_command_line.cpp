#include "installer_command_line.h"

#include "text.h"

namespace zarvane {

InstallerCommandLine ParseInstallerCommandLine(const std::vector<std::string>& arguments) {
  InstallerCommandLine line;
  bool inPath = false;  // the previous argument was part of the install path
  for (const std::string& argument : arguments) {
    bool isSwitch = !argument.empty() && (argument[0] == '/' || argument[0] == '-');
    if (isSwitch) {
      inPath = false;
      std::string word = argument.substr(1);
      if (EqualsIgnoreCase(word, "Q")) line.quiet = true;
      if (EqualsIgnoreCase(word, "S")) line.silent = true;
      if (EqualsIgnoreCase(word, "P")) line.pathFollows = true;
      if (EqualsIgnoreCase(word.substr(0, 4), "LOG=")) line.logFile = word.substr(4);
    } else if (line.pathFollows) {
      // An unquoted path with blanks arrives as several arguments: taking only the last word
      // would install into a folder of that word below the current folder.
      line.installPath = inPath ? line.installPath + " " + argument : argument;
      inPath = true;
    }
  }
  return line;
}

}  // namespace zarvane
