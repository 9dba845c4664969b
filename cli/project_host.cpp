#include "project_host.h"

#include "file_messages.h"
#include "path_words.h"
#include "project_check.h"
#include "text.h"
#include "tab_rules.h"

namespace zarvane {

int ProjectPrompt::Show(const std::string& caption, const std::string& text, unsigned style) {
  if (caption != "Error") return StreamPrompt::Show(caption, text, style);
  std::string key = host_.KeyAtFault(text);
  FileFailure(err_, host_.ProjectFile(), key.empty() ? text : key + ": " + text);
  return kAnswerOk;
}

CliProjectHost::CliProjectHost(std::ostream& err)
    : HeadlessBuildHost(prompt_), err_(err), prompt_(err, *this) {}

int CliProjectHost::ValidateTab(ProjectTab tab) {
  lastRefusal_ = tabs.Validate(tab);
  return lastRefusal_.message;
}

bool CliProjectHost::OpenOrTell(const std::string& project) {
  std::string why = WhyUnreadable(project);
  if (!why.empty()) {
    FileFailure(err_, project, why);
    return false;
  }
  if (!Open(FullPath(project))) {
    FileFailure(err_, project, "cannot be read as a project file");
    return false;
  }
  return true;
}

int CliProjectHost::TellSilentReplacements() {
  std::vector<std::string> found = SilentReplacements(ProjectFile(), tabs);
  for (const std::string& line : found) FileFailure(err_, ProjectFile(), "warning: " + line);
  return static_cast<int>(found.size());
}

void CliProjectHost::TellDefaultInstallerPath() {
  if (!Trim(tabs.installer.installerPath).empty() || Trim(tabs.wallpaper.name).empty()) return;
  tabs.installer.installerPath = FolderOf(ProjectFile()) + Trim(tabs.wallpaper.name) + " Setup.exe";
  FileFailure(err_, ProjectFile(),
              "no [Installer] InstallerFilePath; the installer goes beside the project as '" +
                  tabs.installer.installerPath + "'");
}

int CliProjectHost::TellRefusals() {
  int refusals = 0;
  for (ProjectTab tab : {ProjectTab::kWallpaper, ProjectTab::kPreviewWindow,
                         ProjectTab::kSettingsWindow, ProjectTab::kInstaller}) {
    if (int message = ValidateTab(tab)) {
      Prompt().Show("Error", ToolMessage(message), kPromptOk | kPromptIconExclamation);
      ++refusals;
    }
  }
  return refusals;
}

std::string CliProjectHost::KeyAtFault(const std::string& message) const {
  if (lastRefusal_.message == 0 || ToolMessage(lastRefusal_.message) != message) return "";
  const struct {
    TabField field;
    const char* key;
    const std::string& value;
  } keys[] = {
      {TabField::kMovieFile, "[Movie] SWFFile", tabs.wallpaper.movieFile},
      {TabField::kBackgroundImage, "[Wallpaper] BackImage", tabs.wallpaper.backgroundImage},
      {TabField::kName, "[ScreenSaver] Name", tabs.wallpaper.name},
      {TabField::kPreviewImage, "[Wallpaper] PrevMon", tabs.preview.imageFile},
      {TabField::kInstallerPath, "[Installer] InstallerFilePath", tabs.installer.installerPath},
      {TabField::kInstallerPicture, "[Installer] MovieOrImageFile", tabs.installer.picturePath},
      {TabField::kLicence, "[Installer] LicenseFile", tabs.installer.licencePath},
  };
  for (const auto& k : keys) {
    if (k.field == lastRefusal_.field) return std::string(k.key) + " '" + Printable(k.value) + "'";
  }
  return "";
}

}  // namespace zarvane
