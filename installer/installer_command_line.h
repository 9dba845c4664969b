#pragma once
// The installer's switches: /Q (quiet), /S (silent: no window at all), /P (the install path
// follows), /LOG=<file>. "-" works as "/"; letter case does not matter.
#include <string>
#include <vector>

namespace zarvane {

struct InstallerCommandLine {
  bool quiet = false;
  bool silent = false;
  bool pathFollows = false;
  std::string installPath;
  std::string logFile;
};

// `arguments` without the program name. Unknown switches and plain arguments before /P are
// ignored; after /P the last plain argument is the install path.
InstallerCommandLine ParseInstallerCommandLine(const std::vector<std::string>& arguments);

}  // namespace zarvane
