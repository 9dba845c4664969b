#pragma once
// The authoring tool's process: the named mutex, the settings key, and the main window run
// modally with its keyboard shortcuts.
#include <string>

namespace zarvane {

class AuthoringApp {
 public:
  // Runs the main window until it ends; `commandLine` is a project to open.
  int Run(const std::string& commandLine);
};

}  // namespace zarvane
