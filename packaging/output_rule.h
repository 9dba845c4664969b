#pragma once
// Where the tool may write: Build Now and every command of zarvane-cli that writes a file or a
// folder (build, page, preview, export) ask here first, so that what they write never takes the
// place of what the project is made of.
#include <string>
#include <vector>

#include "project_tabs.h"

namespace zarvane {

// The project file and every file the project names, whether or not a switch leaves it out of
// the installer: the movie, the resource files, the background, still, preview and installer
// window pictures, the licence. Paths as the tabs hold them; empty ones left out.
std::vector<std::string> ProjectInputs(ProjectTabs& tabs, const std::string& projectFile);

enum class OutputKind { kFile, kFolder };

// The tool's message that refuses `output`, or 0: 71 when it is one of `inputs` (however spelt,
// links included) or a folder that holds one; for a file, 72 when a folder or device stands at
// the path.
int OutputRefusal(const std::string& output, const std::vector<std::string>& inputs,
                  OutputKind kind = OutputKind::kFile);

// The message's text, naming the output.
std::string OutputRefusalText(int message, const std::string& output);

// A file that ends as every installer ends, whatever its version or state: a file that was not
// written by a build is replaced only when the user names it as the output, or says yes.
bool IsInstallerFile(const std::string& path);

}  // namespace zarvane
