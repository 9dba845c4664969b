#pragma once
// Build Now: the project of the host's tabs becomes one self-extracting installer file.
#include <string>
#include <vector>

#include "build_host.h"

namespace zarvane {

// 1 when the installer was written ("Build Completed."), 0 when the build stopped; every
// reason has been shown through the host.
int BuildInstaller(BuildHost& host);

// Build Now's checks without the build: 1 when it would write the installer, 0 once the first
// reason it would not has been shown. The question before replacing a file is not asked.
int CheckBuild(BuildHost& host);

// The members in packing order, as the build adds them, with `state` as the configuration
// writer left it and `flashControl` empty when the installer goes without the control. False,
// with the message text, when resource files are missing.
bool CollectMembers(BuildHost& host, const BuildState& state, const std::string& configFile,
                    const std::string& flashControl, std::string& missingMessage,
                    std::vector<std::string>& members);

}  // namespace zarvane
