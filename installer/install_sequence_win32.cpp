#include "install_sequence.h"

#include <windows.h>

#include <vector>

#include "desktop_shell.h"
#include "desktop_wallpaper.h"
#include "file_system.h"
#include "install_folder_rule.h"
#include "installer_resources.h"
#include "installer_text.h"
#include "path_words.h"
#include "resource_text.h"
#include "restart_deletions.h"
#include "still_wallpaper.h"
#include "text.h"
#include "uninstaller.h"
#include "wallpaper_name_rule.h"
#include "wallpaper_words.h"

namespace zarvane {
namespace {

std::string SystemErrorText(DWORD error) {
  char* buffer = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer),
      0, nullptr);
  std::string text = length && buffer ? std::string(buffer, length) : std::string();
  if (buffer) LocalFree(buffer);
  return text;
}

std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

// Bytes of a file, 0 when it is not there. Found by search: Windows 95 lacks
// GetFileAttributesExA.
unsigned long long FileSize(const std::string& path) {
  WIN32_FIND_DATAA data;
  if (path.find_first_of("*?") != std::string::npos) return 0;
  HANDLE search = FindFirstFileA(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  FindClose(search);
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Records what it writes in the log and adds up its size for the Programs list.
class Written {
 public:
  explicit Written(RunLog& log) : log_(log) {}
  // False when the file is not there.
  bool File(const std::string& path) {
    unsigned long long size = FileSize(path);
    if (!size && !FileExists(path)) return Missed(path);
    bytes_ += size;
    log_.Line("wrote ", path);
    return true;
  }
  // Always false: `path` was to be written by this run and was not.
  bool Missed(const std::string& path) {
    log_.Line("not written: ", path);
    return false;
  }
  DWORD KiB() const { return static_cast<DWORD>((bytes_ + 1023) / 1024); }

 private:
  RunLog& log_;
  unsigned long long bytes_ = 0;
};

// `keyName` ends in a blank, ready for the value's name.
bool SetValue(HKEY key, const std::string& keyName, const char* value, DWORD type,
              const void* data, DWORD size, const std::string& shown, RunLog& log) {
  bool ok = RegSetValueExA(key, value, 0, type, static_cast<const BYTE*>(data), size) ==
            ERROR_SUCCESS;
  log.Line(ok ? "set " : "could not set ", keyName + value + " = " + shown);
  return ok;
}

bool SetText(HKEY key, const std::string& keyName, const char* value, const std::string& text,
             RunLog& log) {
  return SetValue(key, keyName, value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1),
                  text, log);
}

bool SetNumber(HKEY key, const std::string& keyName, const char* value, DWORD number,
               RunLog& log) {
  return SetValue(key, keyName, value, REG_DWORD, &number, sizeof number,
                  std::to_string(number), log);
}

// The entry in the system's list of programs. False when the key or a value was not written.
bool WriteUninstallKey(const std::string& name, const std::string& installFolder, DWORD kib,
                       RunLog& log) {
  const std::string keyName = "HKEY_LOCAL_MACHINE\\" + std::string(kUninstallRoot) + "\\" + name + " ";
  HKEY root;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_ALL_ACCESS, &root) !=
      ERROR_SUCCESS) {
    log.Line("could not open HKEY_LOCAL_MACHINE\\", kUninstallRoot);
    return false;
  }
  HKEY key;
  bool ok = RegCreateKeyA(root, name.c_str(), &key) == ERROR_SUCCESS;
  if (ok) {
    const std::string uninstaller = installFolder + "Uninstall.exe";
    // Quoted: unquoted, Windows would try "C:\Program.exe" first for a folder with blanks.
    const std::string command = "\"" + uninstaller + "\"";
    std::string location = installFolder;
    if (location.size() > 3) location.pop_back();  // "C:\" keeps its backslash
    ok = SetText(key, keyName, "DisplayName", name, log) &
         SetText(key, keyName, "UninstallString", command, log) &
         SetText(key, keyName, "QuietUninstallString", command + " /S", log) &
         SetText(key, keyName, "DisplayIcon", uninstaller + ",0", log) &
         SetText(key, keyName, "InstallLocation", location, log) &
         SetNumber(key, keyName, "EstimatedSize", kib, log) &
         SetNumber(key, keyName, "NoModify", 1, log) & SetNumber(key, keyName, "NoRepair", 1, log);
    RegCloseKey(key);
  } else {
    log.Line("could not create ", keyName);
  }
  RegCloseKey(root);
  return ok;
}

// Another program's uninstaller must not be overwritten, nor its Uninstall.ini extended.
bool HoldsOtherUninstaller(const std::string& folder, const std::string& name) {
  const std::string base = WithBackslash(folder);
  if (RecordNamesWallpaper(base + "Uninstall.ini", name)) return false;
  return FileExists(base + "Uninstall.exe") || FileExists(base + "Uninstall.ini");
}

// A wallpaper's folder has its page beside it; a folder of a killed run's new files has none.
bool IsWallpaperFolder(const std::string& folder) { return FileExists(folder + ".htm"); }

// A new folder "<name>.<what>-<process>-<n>" in the wallpaper directory; never one that exists
// already, which may be another wallpaper's. Empty when none can be made.
std::string FreshFolderBeside(const std::string& wallpaperDir, const std::string& name,
                              const char* what) {
  return MakeRunFolder(wallpaperDir, name + "." + what + "-", &IsWallpaperFolder);
}

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The copy is whole: as long as its source. A source the payload lacks (an empty one stands for
// no file) has nothing to copy: a peer's installer may leave out a picture it could not add.
bool CopiedWhole(const std::string& source, const std::string& folder) {
  if (source.empty() || !FileExists(source)) return true;
  const std::string copy = folder + BareName(source);
  return FileExists(copy) && FileSize(copy) == FileSize(source);
}

// Moves every file of `from` into `to`, replacing files of the same names, and removes `from`.
bool MoveFilesInto(const std::string& from, const std::string& to) {
  bool ok = true;
  for (const std::string& entry : ListDirectory(from))
    if (entry != "." && entry != "..")
      ok = MoveReplacing(from + entry, to + entry) && ok;
  RemoveDirectoryA(from.c_str());
  return ok;
}

// The wallpaper's new files, copied beside the installed ones and put in their place only once
// all are complete: a run that is killed or meets a full disk leaves the installed wallpaper
// (whose page stays on the desktop) as it was.
class StagedWallpaperFiles {
 public:
  StagedWallpaperFiles(const std::string& wallpaperDir, const std::string& name)
      : wallpaperDir_(wallpaperDir), name_(name), final_(wallpaperDir + name + "\\") {
    files_ = FreshFolderBeside(wallpaperDir, name, "new");
    if (!files_.empty()) resources_ = FreshFolderBeside(wallpaperDir, name, "res");
  }
  ~StagedWallpaperFiles() {
    if (!resources_.empty()) RemoveFolderAndFiles(resources_);
    if (!files_.empty()) RemoveFolderAndFiles(files_);
  }
  bool Ready() const { return !resources_.empty(); }
  const std::string& Files() const { return files_; }
  const std::string& Resources() const { return resources_; }

  // `replace`: the installed folder's other files go too, as the Replace question promised.
  bool PutInPlace(bool replace) {
    bool ok = MoveFilesInto(resources_, wallpaperDir_);
    resources_.clear();
    const std::string folder = final_.substr(0, final_.size() - 1);
    const std::string staged = files_.substr(0, files_.size() - 1);
    if (!IsFolder(folder)) {
      ok = MoveFileA(staged.c_str(), folder.c_str()) && ok;
    } else if (replace) {
      // Two renames: the installed folder is never emptied in place.
      std::string old = FreshFolderBeside(wallpaperDir_, name_, "old");
      if (!old.empty()) RemoveDirectoryA(old.c_str());
      if (!old.empty() && MoveFileA(folder.c_str(), old.substr(0, old.size() - 1).c_str())) {
        if (MoveFileA(staged.c_str(), folder.c_str())) {
          RemoveFolderAndFiles(old);
        } else {
          MoveFileA(old.substr(0, old.size() - 1).c_str(), folder.c_str());
          ok = false;
        }
      } else {
        ok = MoveFilesInto(files_, final_) && ok;  // the folder is in use: file by file
      }
    } else {
      ok = MoveFilesInto(files_, final_) && ok;
    }
    if (!IsFolder(staged)) files_.clear();
    return ok;
  }

 private:
  std::string wallpaperDir_, name_, final_, files_, resources_;
};

std::string ReadPrevious(const std::string& ini) {
  char buffer[1024] = {0};
  GetPrivateProfileStringA("Uninstaller", "PrevSettings", "", buffer, sizeof buffer, ini.c_str());
  return buffer;
}

}  // namespace

std::string DefaultInstallFolder(const std::string& name) {
  std::string folder;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                    KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    char buffer[1024] = {0};
    DWORD size = sizeof buffer - 1;
    if (RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS)
      folder = buffer;
    RegCloseKey(key);
  }
  if (folder.empty()) {
    char buffer[1024] = {0};
    GetWindowsDirectoryA(buffer, sizeof buffer);
    folder = buffer;
  }
  return WithBackslash(folder) + name;
}

bool EnsureInstallFolder(const std::string& folder, const std::string& name, bool& created,
                         std::string& error) {
  created = false;
  if (folder.empty()) {
    error = ResourceText(IDS_PATH_EMPTY);
    return false;
  }
  if (JudgeInstallFolder(folder, WindowsDirectory()) == InstallFolderVerdict::kRelative) {
    error = FormatText(ResourceText(IDS_PATH_RELATIVE), folder);
    return false;
  }
  if (JudgeInstallFolder(ResolvedPath(folder), ResolvedPath(WindowsDirectory())) !=
          InstallFolderVerdict::kUsable ||
      SharesWindowsFolders(folder, WindowsDirectory())) {
    error = FormatText(ResourceText(IDS_PATH_SHARED), folder);
    return false;
  }
  if (HoldsOtherUninstaller(folder, name)) {
    error = FormatText(ResourceText(IDS_PATH_TAKEN), folder);
    return false;
  }
  if (CreateDirectoryA(folder.c_str(), nullptr)) {
    created = true;
    return true;
  }
  DWORD code = GetLastError();
  if (code == ERROR_ALREADY_EXISTS) {
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      return true;
    // A file of that name: Uninstall.exe and Uninstall.ini would have nowhere to go.
    code = ERROR_DIRECTORY;
  }
  error = SystemErrorText(code);
  return false;
}

InstallOutcome RunInstallSequence(const InstallerConfig& config,
                                  const std::string& extractionFolder,
                                  const std::string& installFolder, UserPrompt& prompt,
                                  RunLog& log, InstallProgress& progress) {
  // The list's entry of another program is never taken over: its uninstaller would be lost, and
  // ours would later delete the entry.
  bool foreign = false;
  const std::string earlierFolder = OwnEntryFolder(config.name, foreign);
  if (foreign) {
    prompt.Show(ResourceText(IDS_ERROR_CAPTION),
                FormatText(ResourceText(IDS_ENTRY_TAKEN), config.name),
                kPromptOk | kPromptIconExclamation);
    return InstallOutcome::kStopped;
  }
  // Read before this run's Uninstall.ini replaces it: installed over itself, the desktop shows
  // our own page, and only the earlier record knows the user's wallpaper.
  std::string earlierPrevious;
  std::vector<std::string> earlierRecords;
  for (const std::string& record : {earlierFolder, installFolder})
    if (!record.empty() && RecordNamesWallpaper(record + "Uninstall.ini", config.name))
      earlierRecords.push_back(record + "Uninstall.ini");
  for (const std::string& record : {earlierFolder, installFolder})
    if (earlierPrevious.empty() && !record.empty() &&
        RecordNamesWallpaper(record + "Uninstall.ini", config.name))
      earlierPrevious = ReadPrevious(record + "Uninstall.ini");

  // An earlier uninstall of this folder, not yet finished by a restart, would take them.
  for (const std::string& path : CancelDeletionsAtRestart(
           {installFolder + "Uninstall.exe", installFolder + "Uninstall.ini", installFolder}))
    log.Line("no longer removed at the next restart: ", path);

  Written written(log);
  progress.Status(IDS_COPYING_SYSTEM);
  // Through a copy beside it: a run ended half way must not break the installed uninstaller.
  const std::string uninstaller = installFolder + "Uninstall.exe";
  bool copied = CopyFileA((extractionFolder + "Uninstall.exe").c_str(),
                          (uninstaller + ".part").c_str(), FALSE) != 0;
  if (copied && !MoveReplacing(uninstaller + ".part", uninstaller)) {
    DeleteFileA((uninstaller + ".part").c_str());
    copied = false;
  }
  // An Uninstall.exe left by an earlier run is not this run's.
  bool complete = copied ? written.File(uninstaller) : written.Missed(uninstaller);

  progress.Status(IDS_COPYING_WALLPAPER);
  progress.Step();
  char windows[520] = {0};
  if (!GetWindowsDirectoryA(windows, sizeof windows) &&
      !GetSystemDirectoryA(windows, sizeof windows)) {
    prompt.Show(ResourceText(IDS_ERROR_CAPTION), ResourceText(IDS_INSTALL_FAILED),
                kPromptOk | kPromptIconExclamation);
    return InstallOutcome::kStopped;
  }

  // A system without Active Desktop may lack the wallpaper directory; without it every wallpaper
  // would look like one that exists already.
  std::string web = WithBackslash(windows) + "Web";
  CreateDirectoryA(web.c_str(), nullptr);
  CreateDirectoryA((web + "\\WallPaper").c_str(), nullptr);

  DesktopWallpaper wallpaper(SystemDesktopShell(), prompt);
  wallpaper.PrepareDesktop();
  wallpaper.SetName(config.name);
  wallpaper.SetMovieFile(config.Prefixed(config.movieFile));
  wallpaper.SetImageFile(config.Prefixed(config.imageFile));
  wallpaper.SetBackgroundImage(config.Prefixed(config.backgroundImageFile));
  wallpaper.SetBackgroundColour(ColourFromText(config.backgroundColour));
  wallpaper.SetAlignment(config.hAlign, config.vAlign);
  wallpaper.SetLoop(config.loop);
  wallpaper.SetQuality(config.quality);
  wallpaper.SetScale(config.size);
  wallpaper.SetBackgroundPosition(config.backgroundPosition);
  wallpaper.SetStillImage(config.Prefixed(config.stillImageFile));
  if (!IsUsableWallpaperName(config.name)) return InstallOutcome::kStopped;
  const std::string wallpaperDir = wallpaper.GetWallpaperDir();
  const std::string folder = wallpaperDir + config.name + "\\";
  bool replace = true;
  if (IsFolder(folder))
    replace = prompt.Show(DesktopWallpaper::kReplaceQuestion,
                          kPromptOkCancel | kPromptIconInformation) == kAnswerOk;
  log.Line("wallpaper folder ", folder);

  StagedWallpaperFiles staged(wallpaperDir, config.name);
  bool whole = staged.Ready();
  std::vector<std::string> resources;  // those the payload holds
  for (const std::string& item : config.resourceFiles)
    if (whole && IsUsableWallpaperName(item) && FileExists(extractionFolder + item)) {
      CopyFileA((extractionFolder + item).c_str(), (staged.Resources() + item).c_str(), FALSE);
      whole = CopiedWhole(extractionFolder + item, staged.Resources());
      resources.push_back(item);
    }
  std::vector<std::string> files;  // the folder may hold others' files when not replaced
  if (whole) {
    wallpaper.SetFolder(staged.Files());
    wallpaper.CopyFiles();
    whole = CopiedWhole(config.Prefixed(config.movieFile), staged.Files()) &&
            CopiedWhole(config.Prefixed(config.imageFile), staged.Files()) &&
            CopiedWhole(config.Prefixed(config.backgroundImageFile), staged.Files());
    for (const std::string& entry : ListDirectory(staged.Files()))
      if (entry != "." && entry != "..") files.push_back(entry);
  }
  if (!whole || !staged.PutInPlace(replace)) {
    log.Line("not copied whole: the wallpaper's new files; the installed ones are kept");
    prompt.Show(ResourceText(IDS_ERROR_CAPTION), ResourceText(IDS_INSTALL_FAILED),
                kPromptOk | kPromptIconExclamation);
    return InstallOutcome::kFailed;
  }
  for (const std::string& item : resources) written.File(wallpaperDir + item);
  for (const std::string& entry : files) written.File(folder + entry);
  wallpaper.SetFolder(folder);
  const std::string page = wallpaperDir + config.name + ".htm";
  if (wallpaper.Apply()) {
    log.Line("desktop: ", wallpaper.DesktopRoute());
    complete = written.File(page) && complete;
    if (wallpaper.StillShown()) written.File(wallpaper.StillPath());
  } else {
    // The files are in place and recorded below, so the uninstaller can still take them away.
    complete = written.Missed(page);  // false
    log.Line("the desktop is left as it was");
    prompt.Show(ResourceText(IDS_ERROR_CAPTION), ResourceText(IDS_INSTALL_FAILED),
                kPromptOk | kPromptIconExclamation);
  }
  progress.Step();

  progress.Status(IDS_UPDATING_REGISTRY);
  progress.Step();
  // Uninstall.exe and Uninstall.ini are counted in the size too; the latter is small.
  complete = WriteUninstallKey(config.name, installFolder, written.KiB() + 1, log) && complete;

  const std::string ini = installFolder + "Uninstall.ini";
  std::wstring saved = wallpaper.SavedWallpaper();
  std::string previous = saved.empty() ? std::string("None") : NarrowAnsi(saved);
  if (lstrcmpiA(previous.c_str(), page.c_str()) == 0 && !earlierPrevious.empty())
    previous = earlierPrevious;
  const std::string regPath = std::string(kUninstallRoot) + "\\" + config.name;
  // Only what this run wrote: a resource file the payload lacked may be another wallpaper's.
  std::string recordedResources = config.resourceFileList;
  if (resources.size() != config.resourceFiles.size()) {
    recordedResources.clear();
    for (const std::string& item : resources)
      recordedResources += (recordedResources.empty() ? "" : ";") + item;
  }
  bool iniWritten =
      WritePrivateProfileStringA("Uninstaller", "SCRFile", page.c_str(), ini.c_str()) &&
      WritePrivateProfileStringA("Uninstaller", "RegPath", regPath.c_str(), ini.c_str()) &&
      WritePrivateProfileStringA("Uninstaller", "Resource", recordedResources.c_str(),
                                 ini.c_str()) &&
      WritePrivateProfileStringA("Uninstaller", "PrevSettings", previous.c_str(), ini.c_str());
  iniWritten = WriteStillRecord(ini, wallpaper, earlierRecords) && iniWritten;
  complete = iniWritten && written.File(ini) && complete;

  progress.Step();
  if (!complete) return InstallOutcome::kFailed;
  return wallpaper.DesktopChanged() ? InstallOutcome::kDone : InstallOutcome::kDesktopUnchanged;
}

int ExitCodeOf(InstallOutcome outcome) {
  if (outcome == InstallOutcome::kDone) return kExitDone;
  return outcome == InstallOutcome::kDesktopUnchanged ? kExitDesktopUnchanged : kExitFailed;
}

int InstallSilently(const InstallerConfig& config, const std::string& extractionFolder,
                    const std::string& installPath, UserPrompt& prompt, RunLog& log) {
  const std::string folder =
      Trim(installPath.empty() ? DefaultInstallFolder(config.name) : installPath);
  bool created = false;
  std::string error;
  if (!EnsureInstallFolder(folder, config.name, created, error)) {
    prompt.Show(ResourceText(IDS_ERROR_CAPTION), error, kPromptOk | kPromptIconExclamation);
    return kExitFailed;
  }
  if (created) log.Line("created folder ", folder);
  InstallProgress unseen;
  InstallOutcome outcome =
      RunInstallSequence(config, extractionFolder, WithBackslash(folder), prompt, log, unseen);
  if (outcome == InstallOutcome::kStopped && created && RemoveDirectoryA(folder.c_str()))
    log.Line("removed folder ", folder);
  return ExitCodeOf(outcome);
}

}  // namespace zarvane
