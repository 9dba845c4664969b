#pragma once
// The installer's only window: picture or movie, install path, licence, progress, and the whole
// install sequence behind "Accept & Install".
#include <string>

#include "dialog.h"
#include "install_sequence.h"
#include "installer_config.h"
#include "movie_pane.h"
#include "run_log.h"

namespace zarvane {

class InstallDialog : public DialogWithHandlers<InstallDialog>, private InstallProgress {
 public:
  InstallDialog(const InstallerConfig& config, const std::string& extractionFolder, bool quiet,
                const std::string& installPath, RunLog& log);
  // Runs the dialog; gives the exit code (declined unless an installation went through).
  int RunForExitCode();

 protected:
  bool OnInit() override;
  void OnOk() override { Install(); }
  void OnCancel() override { End(IDCANCEL); }
  void OnDestroy() override { pane_.Destroy(); }

 private:
  void PlacePane();
  void ShowToTheUser();
  bool LoadLicence();
  void LayOutWithoutLicence();
  void Browse();
  void Decline() { End(0); }
  bool ValidateInstallFolder(std::string& folder, bool& created);
  void Install();
  void Status(int stringId) override;
  void Step() override;

  const InstallerConfig& config_;
  std::string extractionFolder_;
  bool quiet_;
  std::string installPath_;
  MoviePane pane_;
  bool installing_ = false;
  RunLog& log_;
  LoggedPrompt prompt_{&Prompt(), log_};
  int exitCode_ = kExitDeclined;
};

}  // namespace zarvane
