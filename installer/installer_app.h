#pragma once
// The installer process: uninstall mode or extraction, configuration, the Flash control, the
// uninstaller copy and the install dialog. Extraction goes into a folder of this run's own under
// the temporary folder, which goes at exit with everything in it.
#include <cstdint>
#include <string>
#include <vector>

#include "installer_command_line.h"
#include "installer_config.h"
#include "run_log.h"
#include "user_prompt.h"

namespace zarvane {

class InstallerApp {
 public:
  // The whole life of the process; gives its exit code.
  int Run(const std::vector<std::string>& arguments);

 private:
  int Install(const InstallerCommandLine& line, UserPrompt& prompt);
  bool ExtractAndPrepare(UserPrompt& prompt);
  void WriteUninstallerCopy();
  static void OnArchiveEvent(int event, void* data, std::intptr_t user);

  std::string extractionFolder_;
  std::vector<std::string> extracted_;  // member names, as each was written completely
  std::uint32_t stubLength_ = 0;
  InstallerConfig config_;
  RunLog log_;
};

}  // namespace zarvane
