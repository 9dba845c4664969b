#pragma once
// The installer's only window: picture or movie, install path, licence, progress, and the whole
// install sequence behind "Accept & Install".
#include <string>

#include "dialog.h"
#include "installer_config.h"
#include "movie_pane.h"

namespace zarvane {

class InstallDialog : public DialogWithHandlers<InstallDialog> {
 public:
  InstallDialog(const InstallerConfig& config, const std::string& extractionFolder, bool quiet,
                const std::string& installPath);

 protected:
  bool OnInit() override;
  void OnOk() override { Install(); }
  void OnCancel() override { End(IDCANCEL); }
  void OnDestroy() override { pane_.Destroy(); }

 private:
  void PlacePane();
  void ShowToTheUser();
  std::string DefaultInstallFolder() const;
  bool LoadLicence();
  void LayOutWithoutLicence();
  void Browse();
  void Decline() { End(0); }
  bool ValidateInstallFolder(std::string& folder);
  void Install();
  void SetStatus(int stringId);
  void Step();
  void WriteUninstallKey(const std::string& installFolder);

  const InstallerConfig& config_;
  std::string extractionFolder_;
  bool quiet_;
  std::string installPath_;
  MoviePane pane_;
  bool installing_ = false;
};

}  // namespace zarvane
