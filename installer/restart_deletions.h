#pragma once
// An uninstaller removes itself, its record and its folder when Windows restarts. Installed
// again into that folder before the restart, those paths are the new installation's: the
// restart must not take them.
#include <string>
#include <vector>

namespace zarvane {

// Takes back the deletions at the next restart of `paths` (exact paths, any case, a folder with
// or without its trailing backslash); gives the paths whose deletion was taken back.
std::vector<std::string> CancelDeletionsAtRestart(const std::vector<std::string>& paths);

}  // namespace zarvane
