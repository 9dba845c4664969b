#include "installer_command_line.h"

#include "text.h"

namespace zarvane {

InstallerCommandLine ParseInstallerCommandLine(const std::vector<std::string>& arguments) {
  InstallerCommandLine line;
  for (const std::string& argument : arguments) {
    bool isSwitch = !argument.empty() && (argument[0] == '/' || argument[0] == '-');
    if (isSwitch) {
      std::string word = argument.substr(1);
      if (EqualsIgnoreCase(word, "Q")) line.quiet = true;
      if (EqualsIgnoreCase(word, "S")) line.silent = true;
      if (EqualsIgnoreCase(word, "P")) line.pathFollows = true;
      if (EqualsIgnoreCase(word.substr(0, 4), "LOG=")) line.logFile = word.substr(4);
    } else if (line.pathFollows) {
      // An unquoted path with blanks leaves a relative last word, which the install folder rule
      // refuses: never a guess at which words belonged together.
      line.installPath = argument;
    }
  }
  return line;
}

}  // namespace zarvane
