// The Project menu's commands: New, Open, Save, Save As, the recent projects, and the question
// before unsaved changes are given up.
#include "choosers.h"
#include "headless_tabs.h"
#include "main_dialog.h"
#include "profile.h"

namespace zarvane {
namespace {

FileRequest ProjectFileRequest(DWORD options) {
  FileRequest request;
  request.filter = "Zarvane Project files (*.zvp)|*.zvp||";
  request.defaultExtension = "zvp";
  request.options = options;
  return request;
}

// Without its enclosing quotes (as a command line gives it), and whole: a profile path without
// a folder would be looked for in the Windows folder.
std::string ProjectPath(std::string path) {
  std::size_t first = path.find_first_not_of('"');
  if (first == std::string::npos) return std::string();
  path = path.substr(first, path.find_last_not_of('"') - first + 1);
  char full[MAX_PATH] = {};
  DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full) : path;
}

bool CanBeRead(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The project's records through the headless tabs, which take relative paths from the project
// file's folder as zarvane-cli does: one project builds one installer, whichever folder the tool
// was started in or browsed last.
void ResolveRelativePaths(ProjectTabs& tabs, const std::string& projectPath) {
  HeadlessTabs resolved;
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  InstallerSettings installer;
  tabs.GetWallpaper(wallpaper);
  tabs.GetPreview(preview);
  tabs.GetInstaller(installer);
  resolved.SetWallpaper(wallpaper);
  resolved.SetPreview(preview);
  resolved.SetInstaller(installer);
  resolved.ResolvePathsAgainst(projectPath.substr(0, projectPath.find_last_of('\\') + 1));
  resolved.GetWallpaper(wallpaper);
  resolved.GetPreview(preview);
  resolved.GetInstaller(installer);
  tabs.SetWallpaper(wallpaper);
  tabs.SetPreview(preview);
  tabs.SetInstaller(installer);
}

}  // namespace

// A Yes that did not save (Save As cancelled, the file not written) counts as Cancel: the
// command that asked must not go on and throw the changes away.
MainDialog::Answer MainDialog::AskToSave() {
  if (!modified_) return kYes;
  int answer =
      Message("Save", "Do you want to save the project?", MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDYES) return Save() ? kYes : kCancel;
  return answer == IDNO ? kNo : kCancel;
}

void MainDialog::NewProject(bool ask) {
  if (ask && AskToSave() == kCancel) return;
  SetWallpaper(WallpaperSettings());
  SetPreview(PreviewSettings());
  SetSettingsBox(SettingsBoxSettings());
  SetInstaller(InstallerSettings());
  modified_ = false;
  projectPath_.clear();
  RefreshTitle();
}

void MainDialog::OpenCommand() {
  if (AskToSave() == kCancel) return;
  std::string path;
  if (!ActiveChoosers().OpenFile(
          Handle(), ProjectFileRequest(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY),
          path))
    return;
  OpenProjectAt(path);
}

bool MainDialog::OpenProjectAt(std::string path) {
  path = ProjectPath(path);
  if (!CanBeRead(path)) {
    recentFiles_.Remove(path);
    Message("Error", "Unable to access file '" + path + "'. Check if the file exists.",
            MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  OpenProject(*this, SystemProfile(), path);
  ResolveRelativePaths(*this, path);
  projectPath_ = path;
  modified_ = false;
  RefreshTitle();
  return true;
}

bool MainDialog::Save() {
  if (projectPath_.empty()) return SaveAs();
  if (!WriteProjectTo(projectPath_)) return false;
  SetModified(false);
  return true;
}

bool MainDialog::SaveAs() {
  std::string path;
  if (!ActiveChoosers().SaveFile(
          Handle(), ProjectFileRequest(OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT),
          path))
    return false;
  if (!WriteProjectTo(path)) return false;
  projectPath_ = path;
  SetModified(false);
  return true;
}

// A project that did not land is reported, and the window keeps its path and its modified flag.
// Written whole into a fresh file beside the old one and moved over it: no key of the old file
// survives, a foreign file never gets project text appended, and a failed write leaves the old
// file as it was.
bool MainDialog::WriteProjectTo(const std::string& path) {
  std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  char fresh[MAX_PATH] = {};
  if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "zvp", 0, fresh)) {
    if (SaveProject(*this, SystemProfile(), fresh, buildState_) &&
        MoveFileExA(fresh, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    DeleteFileA(fresh);
  }
  Message("Error",
          "Unable to save the project to '" + path +
              "'.\nCheck if there is enough disk space and \nappropriate user rights are set to "
              "the folder. ",
          MB_OK | MB_ICONEXCLAMATION);
  return false;
}

void MainDialog::OpenRecent(int index) {
  std::string path;
  if (!recentFiles_.Get(index, path)) return;
  if (AskToSave() == kCancel) return;
  OpenProjectAt(path);
}

}  // namespace zarvane
