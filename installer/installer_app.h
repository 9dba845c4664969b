#pragma once
// The installer process: uninstall mode or extraction, configuration, the Flash control, the
// uninstaller copy and the install dialog; at exit the temporary files go.
#include <cstdint>
#include <string>
#include <vector>

#include "installer_command_line.h"
#include "installer_config.h"

namespace zarvane {

class InstallerApp {
 public:
  // The whole life of the process; gives its exit code.
  int Run(const std::vector<std::string>& arguments);

 private:
  bool ExtractAndPrepare();
  void WriteUninstallerCopy();
  void DeleteTemporaryFiles();
  static void OnArchiveEvent(int event, void* data, std::intptr_t user);

  std::string extractionFolder_;
  std::vector<std::string> temporaryFiles_;
  std::uint32_t stubLength_ = 0;
  InstallerConfig config_;
};

}  // namespace zarvane
