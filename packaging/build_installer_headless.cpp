#include "build_installer_headless.h"

#include <filesystem>

#include "build_installer.h"
#include "locate_flash_control.h"
#include "file_system.h"
#include "path_words.h"
#include "tab_rules.h"

namespace zarvane {

HeadlessBuildHost::HeadlessBuildHost(UserPrompt& prompt) : prompt_(prompt) {
  state.temporaryFolder = MachineFlashControlFolders().temporaryFolder;
}

int HeadlessBuildHost::ValidateTab(ProjectTab tab) { return tabs.Validate(tab).message; }

void HeadlessBuildHost::SetProgressRange(int low, int high) {
  low_ = low;
  high_ = high;
  position_ = low;
  Report();
}

void HeadlessBuildHost::StepProgress() {
  position_ += step_;
  if (position_ > high_) position_ = high_;
  Report();
}

void HeadlessBuildHost::ShowProgress() {
  visible_ = true;
  Report();
}

void HeadlessBuildHost::SetStatus(const std::string& text) {
  status_ = text;
  Report();
}

void HeadlessBuildHost::Report() {
  if (visible_ && onProgress) onProgress(position_ - low_, high_ - low_, status_);
}

std::string HeadlessBuildHost::FlashControlFile() {
  std::string file =
      flashControl.empty() ? LocateFlashControl(MachineFlashControlFolders()) : flashControl;
  if (!IsExistingFile(file) && onWarning)
    onWarning("the Flash control was not found at '" + file +
              "'; the installer is built without it");
  return file;
}

int HeadlessBuildHost::Open(const std::string& projectPath) {
  if (!OpenProject(tabs, SystemProfile(), projectPath)) return 0;
  tabs.ResolvePathsAgainst(FolderOf(projectPath));
  projectFile = projectPath;
  return 1;
}

std::string FullPath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(path), ec);
  return ec ? path : full.lexically_normal().string();
}

bool OpenProjectFor(HeadlessBuildHost& host, const std::string& project, const char* command,
                    std::ostream& err) {
  std::string path = FullPath(project);
  if (!FileExists(path)) {
    err << "zarvane-cli " << command << ": cannot open the project file '" << project << "'\n";
    return false;
  }
  if (!host.Open(path)) {
    err << "zarvane-cli " << command << ": cannot read the project file '" << project << "'\n";
    return false;
  }
  return true;
}

}  // namespace zarvane
