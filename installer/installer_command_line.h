#pragma once
// The installer's switches: /Q (quiet) and /P (the install path follows). "-" works as "/".
#include <string>
#include <vector>

namespace zarvane {

struct InstallerCommandLine {
  bool quiet = false;
  bool pathFollows = false;
  std::string installPath;
};

// `arguments` without the program name. Unknown switches and plain arguments before /P are
// ignored; after /P every plain argument replaces the install path.
InstallerCommandLine ParseInstallerCommandLine(const std::vector<std::string>& arguments);

}  // namespace zarvane
