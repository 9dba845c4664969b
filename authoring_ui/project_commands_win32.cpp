// The Project menu's commands: New, Open, Save, Save As, the recent projects, and the question
// before unsaved changes are given up.
#include <string>

#include "choosers.h"
#include "file_system.h"
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

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[4096];
  DWORD read = 0;
  bool ok;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr) != 0) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  return ok;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) &&
                              written == bytes.size());
  return CloseHandle(file) && ok;
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
  projectText_.clear();
  projectEncoding_ = ProjectEncoding::kCodePage;
  SetProjectPath(std::string());
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
  std::string bytes;
  if (!CanBeRead(path) || !ReadWholeFile(path, bytes)) {
    recentFiles_.Remove(path);
    Message("Error", "Unable to access file '" + path + "'. Check if the file exists.",
            MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  // Read as zarvane-cli reads it: a UTF-8 or UTF-16 project through its text in the code page
  // this program's narrow text is in.
  const UINT codePage = GetACP();
  std::string text;
  ProjectEncoding encoding;
  ProjectTextRefusal refusal;
  if (!ProjectTextInCodePage(bytes, codePage, text, encoding, refusal)) {
    std::string why = refusal.where.empty()
                          ? "Its UTF-16 text is damaged."
                          : refusal.where + " holds a character that code page " +
                                std::to_string(codePage) + " of this Windows cannot hold.\n"
                                "Remove the character with an editor, or open the project on a "
                                "Windows whose code page holds it.";
    Message("Error", "Unable to open the project '" + path + "'.\n" + why,
            MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  std::string copy;
  if (encoding != ProjectEncoding::kCodePage) {
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(buildState_.temporaryFolder.c_str(), "zvp", 0, name) ||
        !WriteWholeFile(name, text)) {
      if (*name) DeleteFileA(name);
      Message("Error", "Unable to open the project '" + path + "'.\nThe temporary folder '" +
                           buildState_.temporaryFolder + "' cannot be written.",
              MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    copy = name;
  }
  OpenProject(*this, SystemProfile(), copy.empty() ? path : copy);
  if (!copy.empty()) DeleteFileA(copy.c_str());
  projectText_ = text;
  projectEncoding_ = encoding;
  SetProjectPath(path);
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
  // Relative paths mean "from the project file's folder": into another folder they go whole.
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  if (!ProjectFolder().empty() && lstrcmpiA(folder.c_str(), ProjectFolder().c_str()) != 0)
    MakePathsWhole();
  if (!WriteProjectTo(path)) return false;
  SetProjectPath(path);
  SetModified(false);
  return true;
}

// A project that did not land is reported, and the window keeps its path and its modified flag.
// Written whole into a fresh file beside the old one and moved over it, so a failed write leaves
// the old file as it was. The fresh file starts from the lines of the project as the window
// opened or last saved it (never from a file Save As replaces): the profile functions replace
// the keys the tool owns in place and keep every other key and section.
bool MainDialog::WriteProjectTo(const std::string& path) {
  std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  std::string reason = "Check if there is enough disk space and \nappropriate user rights are set "
                       "to the folder. ";
  char fresh[MAX_PATH] = {};
  if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "zvp", 0, fresh)) {
    std::string text, bytes;
    bool written = WriteWholeFile(fresh, projectText_) &&
                   SaveProject(*this, SystemProfile(), fresh, buildState_) &&
                   ReadWholeFile(fresh, text);
    if (written && !ProjectBytes(text, projectEncoding_, GetACP(), bytes)) {
      reason = std::string("A character of the project has no place in ") +
               EncodingName(projectEncoding_) + ", the encoding the file was read in.";
      written = false;
    }
    if (written && projectEncoding_ != ProjectEncoding::kCodePage)
      written = WriteWholeFile(fresh, bytes);
    // MoveReplacing, as MoveFileEx does nothing on the Windows 9x family.
    if (written && MoveReplacing(fresh, path)) {
      projectText_ = text;
      return true;
    }
    DeleteFileA(fresh);
  }
  Message("Error", "Unable to save the project to '" + path + "'.\n" + reason,
          MB_OK | MB_ICONEXCLAMATION);
  return false;
}

void MainDialog::OpenRecent(int index) {
  std::string path;
  if (!recentFiles_.Get(index, path)) return;
  if (AskToSave() == kCancel) return;
  OpenProjectAt(path);
}

void MainDialog::SetProjectPath(const std::string& path) {
  projectPath_ = path;
  TabPage* pages[] = {&wallpaperTab_, &previewWindowTab_, &settingsWindowTab_, &installerTab_};
  for (TabPage* page : pages) page->SetProjectFolder(ProjectFolder());
}

std::string MainDialog::ProjectFolder() const {
  return projectPath_.substr(0, projectPath_.find_last_of('\\') + 1);
}

void MainDialog::MakePathsWhole() {
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  InstallerSettings installer;
  GetWallpaper(wallpaper);
  GetPreview(preview);
  GetInstaller(installer);
  ResolvePaths(wallpaper, ProjectFolder());
  ResolvePaths(preview, ProjectFolder());
  ResolvePaths(installer, ProjectFolder());
  SetWallpaper(wallpaper);
  SetPreview(preview);
  SetInstaller(installer);
}

}  // namespace zarvane
