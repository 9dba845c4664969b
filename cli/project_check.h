#pragma once
// What reading a project silently changes: values the tabs replace by another, and keys no reader
// looks at. `zarvane-cli check` reports them, `build` prints them before building.
#include <string>
#include <utility>
#include <vector>

#include "headless_tabs.h"

namespace zarvane {

using ProjectKey = std::pair<std::string, std::string>;  // section, key

// Every key the project reader reads, in the order it reads them.
std::vector<ProjectKey> KeysTheReaderReads();

// One line per silent replacement in the project file at `path`, whose values `tabs` hold as
// read: "[Movie] MovieSize 'fit' is not a size keyword; read as 'noscale'".
std::vector<std::string> SilentReplacements(const std::string& path, HeadlessTabs& tabs);

}  // namespace zarvane
