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
#include "wallpaper_lock.h"
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

std::string WithoutBackslash(const std::string& folder) {
  return folder.substr(0, folder.size() - 1);
}

// A page beside the wallpaper's folder that this run may replace: no other process holds it and
// it is not read-only (Windows will not move a file onto a read-only one, Wine will).
bool PageReplaceable(const std::string& page) {
  const DWORD attributes = GetFileAttributesA(page.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
  HANDLE file = CreateFileA(page.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The wallpaper's new files, written whole beside the installed ones before anything the desktop
// shows changes: the folder's files, the page (staged inside the folder, it travels with it) and
// the still picture, and the resource files. `Swap` then puts folder and page in place; the old
// folder stays aside until `Finish`, after the desktop points at the new page.
class StagedWallpaperFiles {
 public:
  StagedWallpaperFiles(const std::string& wallpaperDir, const std::string& name)
      : wallpaperDir_(wallpaperDir), name_(name), final_(wallpaperDir + name + "\\") {
    // What killed runs of this wallpaper left goes first.
    for (const char* what : {".new-", ".res-", ".old-"})
      RemoveFoldersOfEndedRuns(wallpaperDir, name + what, &IsWallpaperFolder);
    files_ = FreshFolderBeside(wallpaperDir, name, "new");
    if (!files_.empty()) resources_ = FreshFolderBeside(wallpaperDir, name, "res");
  }
  ~StagedWallpaperFiles() {
    if (!resources_.empty()) RemoveFolderAndFiles(resources_);
    if (!files_.empty()) RemoveFolderAndFiles(files_);
    Finish();
  }
  bool Ready() const { return !resources_.empty(); }
  const std::string& Files() const { return files_; }
  const std::string& Resources() const { return resources_; }
  std::string StagedPage() const { return files_ + name_ + ".htm"; }

  // Folder and page in place, or, when either cannot be, both as they were. `replace`: the
  // installed folder's other files go too, as the Replace question promised.
  bool Swap(bool replace, RunLog& log) {
    const std::string folder = WithoutBackslash(final_);
    const std::string staged = WithoutBackslash(files_);
    const std::string page = wallpaperDir_ + name_ + ".htm";
    const bool fresh = !IsFolder(folder);
    if (fresh) {
      if (!MoveFileA(staged.c_str(), folder.c_str())) return false;
    } else if (replace) {
      // Two renames: the installed folder is never emptied in place.
      old_ = FreshFolderBeside(wallpaperDir_, name_, "old");
      if (!old_.empty()) RemoveDirectoryA(old_.c_str());
      if (old_.empty() || !MoveFileA(folder.c_str(), WithoutBackslash(old_).c_str())) {
        old_.clear();
        return false;  // the folder is in use
      }
      if (!MoveFileA(staged.c_str(), folder.c_str())) {
        MoveFileA(WithoutBackslash(old_).c_str(), folder.c_str());
        old_.clear();
        return false;
      }
    } else if (!MoveFilesInto(files_, final_)) {
      log.Line("not all new files moved into ", final_);
      files_.clear();
      return false;
    }
    files_.clear();
    if (MoveReplacing(final_ + name_ + ".htm", page)) return true;
    // The page is held after all: the folder goes back, so the old page keeps its own files.
    if (fresh || !old_.empty()) {
      MoveFileA(folder.c_str(), staged.c_str());
      if (!old_.empty()) MoveFileA(WithoutBackslash(old_).c_str(), folder.c_str());
      files_ = staged + "\\";
      old_.clear();
    }
    return false;
  }
  // The resource files beside the page; false when one was not moved.
  bool PlaceResources() {
    bool ok = MoveFilesInto(resources_, wallpaperDir_);
    resources_.clear();
    return ok;
  }
  // The old folder, once nothing shows it any more.
  void Finish() {
    if (!old_.empty()) RemoveFolderAndFiles(old_);
    old_.clear();
  }

 private:
  std::string wallpaperDir_, name_, final_, files_, resources_, old_;
};

// What Uninstall.ini records: the uninstaller's whole knowledge of the installation.
struct InstallRecord {
  std::string page, regPath, resources, previous;
  std::string still;  // empty where the page is shown
  ImageWallpaperState stillPrevious;
};

// Uninstall.ini written beside as "Uninstall.ini.part" and renamed: nobody ever reads half a
// record. Returns the staged file, empty when it could not be written whole.
std::string StageRecord(const std::string& ini, const InstallRecord& record) {
  const std::string part = ini + ".part";
  DeleteFileA(part.c_str());
  const char* file = part.c_str();
  bool ok = WritePrivateProfileStringA("Uninstaller", "SCRFile", record.page.c_str(), file) &&
            WritePrivateProfileStringA("Uninstaller", "RegPath", record.regPath.c_str(), file) &&
            WritePrivateProfileStringA("Uninstaller", "Resource", record.resources.c_str(), file) &&
            WritePrivateProfileStringA("Uninstaller", "PrevSettings", record.previous.c_str(), file);
  ok = ok && WriteStillRecord(part, record.still, record.stillPrevious);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, file);  // to disk before the rename
  ok = ok && RecordNamesWallpaper(part, record.regPath.substr(record.regPath.rfind('\\') + 1)) &&
       RecordValue(part, "PrevSettings") == record.previous;
  if (ok) return part;
  DeleteFileA(part.c_str());
  return std::string();
}

// A resource file the payload would put beside the page that is not this wallpaper's own: a
// page, the wallpaper's folder, or a file that none of this wallpaper's records lists.
bool ResourceTaken(const std::string& wallpaperDir, const std::string& name,
                   const std::string& item, const std::vector<std::string>& records) {
  if (lstrcmpiA(item.c_str(), (name + ".htm").c_str()) == 0 ||
      lstrcmpiA(item.c_str(), name.c_str()) == 0 || IsWallpaperPage(wallpaperDir, item))
    return true;
  if (GetFileAttributesA((wallpaperDir + item).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  for (const std::string& record : records)
    if (RecordListsResource(record, item)) return false;
  return true;
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
  // The steps, in the order docs/installer-format.md gives with what each leaves behind.
  auto failed = [&](int stringId, const std::string& detail) {
    prompt.Show(ResourceText(IDS_ERROR_CAPTION),
                detail.empty() ? ResourceText(stringId) : FormatText(ResourceText(stringId), detail),
                kPromptOk | kPromptIconExclamation);
    return InstallOutcome::kStopped;
  };
  // 1. Checks; nothing changes. The caller holds the wallpaper's lock (WaitForOtherRuns).
  if (!IsUsableWallpaperName(config.name)) return InstallOutcome::kStopped;
  // The list's entry of another program is never taken over: its uninstaller would be lost, and
  // ours would later delete the entry.
  bool foreign = false;
  const std::string earlierFolder = OwnEntryFolder(config.name, foreign);
  if (foreign) return failed(IDS_ENTRY_TAKEN, config.name);
  // Read before this run's Uninstall.ini replaces it: installed over itself, the desktop shows
  // our own page, and only the earlier record knows the user's wallpaper.
  std::vector<std::string> earlierRecords;
  for (const std::string& record : {earlierFolder, installFolder})
    if (!record.empty() && RecordNamesWallpaper(record + "Uninstall.ini", config.name))
      earlierRecords.push_back(record + "Uninstall.ini");
  std::string earlierPrevious;
  for (const std::string& record : earlierRecords)
    if (earlierPrevious.empty()) earlierPrevious = RecordValue(record, "PrevSettings");

  progress.Status(IDS_COPYING_SYSTEM);
  char windows[520] = {0};
  if (!GetWindowsDirectoryA(windows, sizeof windows) &&
      !GetSystemDirectoryA(windows, sizeof windows))
    return failed(IDS_INSTALL_FAILED, std::string());
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
  wallpaper.SetStillFromMovie(config.stillFromMovie);
  const std::string wallpaperDir = wallpaper.GetWallpaperDir();
  const std::string folder = wallpaperDir + config.name + "\\";
  const std::string page = wallpaperDir + config.name + ".htm";
  std::vector<std::string> resources;  // those the payload holds
  for (const std::string& item : config.resourceFiles)
    if (IsUsableWallpaperName(item) && FileExists(extractionFolder + item)) {
      if (ResourceTaken(wallpaperDir, config.name, item, earlierRecords)) {
        log.Line("not this wallpaper's own: ", wallpaperDir + item);
        return failed(IDS_RESOURCE_TAKEN, item);
      }
      resources.push_back(item);
    }
  // An old page that cannot be replaced is not this wallpaper: the desktop stays as it is.
  if (!PageReplaceable(page)) {
    log.Line("not written: ", page);
    log.Line("the desktop is left as it was");
    return failed(IDS_INSTALL_FAILED, std::string());
  }
  bool replace = true;
  if (IsFolder(folder))
    replace = prompt.Show(DesktopWallpaper::kReplaceQuestion,
                          kPromptOkCancel | kPromptIconInformation) == kAnswerOk;
  log.Line("wallpaper folder ", folder);

  // 2. The uninstaller, through a copy beside it: a run ended half way must not break the
  // installed one. From here on an earlier uninstall's pending deletions would take it.
  for (const std::string& path : CancelDeletionsAtRestart(
           {installFolder + "Uninstall.exe", installFolder + "Uninstall.ini", installFolder}))
    log.Line("no longer removed at the next restart: ", path);
  Written written(log);
  const std::string uninstaller = installFolder + "Uninstall.exe";
  const bool freshUninstaller = !FileExists(uninstaller);
  auto undoUninstaller = [&]() {
    if (freshUninstaller && DeleteFileA(uninstaller.c_str())) log.Line("removed ", uninstaller);
  };
  const std::string source = extractionFolder + "Uninstall.exe";
  const bool copied = CopyFileA(source.c_str(), (uninstaller + ".part").c_str(), FALSE) != 0 &&
                      FileSize(uninstaller + ".part") == FileSize(source) &&
                      MoveReplacing(uninstaller + ".part", uninstaller);
  if (!copied) {
    DeleteFileA((uninstaller + ".part").c_str());
    written.Missed(uninstaller);
    return failed(IDS_INSTALL_FAILED, std::string());
  }
  written.File(uninstaller);
  StopPoint("uninstaller");

  // 3. Everything new written whole under staged names: folder files, page, still picture,
  // resource files, the record.
  progress.Status(IDS_COPYING_WALLPAPER);
  progress.Step();
  StagedWallpaperFiles staged(wallpaperDir, config.name);
  bool whole = staged.Ready();
  for (const std::string& item : resources)
    if (whole) {
      CopyFileA((extractionFolder + item).c_str(), (staged.Resources() + item).c_str(), FALSE);
      whole = CopiedWhole(extractionFolder + item, staged.Resources());
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
    whole = whole && wallpaper.WritePage(staged.StagedPage());
  }
  const bool stillExpected = wallpaper.StillExpected();
  if (whole && stillExpected) whole = wallpaper.StageStill(staged.Files());
  wallpaper.SetFolder(folder);

  InstallRecord record;
  record.page = page;
  record.regPath = std::string(kUninstallRoot) + "\\" + config.name;
  // Only what this run writes: a resource file the payload lacked may be another wallpaper's.
  for (const std::string& item : resources)
    record.resources += (record.resources.empty() ? "" : ";") + item;
  if (resources.size() == config.resourceFiles.size()) record.resources = config.resourceFileList;
  std::wstring saved = wallpaper.SavedWallpaper();
  record.previous = saved.empty() ? std::string("None") : NarrowAnsi(saved);
  if (lstrcmpiA(record.previous.c_str(), page.c_str()) == 0 && !earlierPrevious.empty())
    record.previous = earlierPrevious;
  if (stillExpected) {
    record.still = wallpaper.StillPathInFolder();
    SystemImageWallpaper().Read(record.stillPrevious);
    record.stillPrevious = PreviousImageWallpaper(record.still, record.stillPrevious, earlierRecords);
  }
  const std::string ini = installFolder + "Uninstall.ini";
  const std::string stagedRecord = whole ? StageRecord(ini, record) : std::string();
  if (stagedRecord.empty()) {
    log.Line("not written whole: the wallpaper's new files; nothing installed is changed");
    undoUninstaller();
    return failed(IDS_INSTALL_FAILED, std::string());
  }

  StopPoint("staged");
  // 4. The swap: folder and page in place together, the old folder kept aside; then the record.
  if (!staged.Swap(replace, log)) {
    DeleteFileA(stagedRecord.c_str());
    log.Line("not written: ", page);
    log.Line("the installed wallpaper is kept; the desktop is left as it was");
    undoUninstaller();
    return failed(IDS_INSTALL_FAILED, std::string());
  }
  StopPoint("swapped");
  bool complete = MoveReplacing(stagedRecord, ini);
  StopPoint("recorded");
  if (!complete) DeleteFileA(stagedRecord.c_str());
  for (const std::string& entry : files) written.File(folder + entry);
  written.File(page);
  // 5. The resource files beside the page: ours, or new (checked above).
  const bool placed = staged.PlaceResources();
  for (const std::string& item : resources)
    if (!written.File(wallpaperDir + item)) complete = false;
  complete = placed && complete;

  StopPoint("resources");
  // 6. The desktop, then the old folder it may have shown.
  wallpaper.Show();
  log.Line("desktop: ", wallpaper.DesktopRoute());
  StopPoint("desktop");
  if (wallpaper.StillShown()) written.File(wallpaper.StillPath());
  staged.Finish();
  progress.Step();
  if (wallpaper.StillShown() != stillExpected) {
    // The Active Desktop refused the page after all: the record follows the desktop.
    record.still = wallpaper.StillShown() ? wallpaper.StillPath() : std::string();
    record.stillPrevious = PreviousImageWallpaper(record.still, wallpaper.SavedImageWallpaper(),
                                                  earlierRecords);
    const std::string again = StageRecord(ini, record);
    complete = !again.empty() && MoveReplacing(again, ini) && complete;
  }
  complete = written.File(ini) && complete;

  // 7. The entry last: it runs an Uninstall.exe that is there and reads a whole record.
  progress.Status(IDS_UPDATING_REGISTRY);
  progress.Step();
  // Uninstall.exe and Uninstall.ini are counted in the size too; the latter is small.
  complete = WriteUninstallKey(config.name, installFolder, written.KiB() + 1, log) && complete;
  StopPoint("entry");
  progress.Step();
  if (!complete) {
    prompt.Show(ResourceText(IDS_ERROR_CAPTION), ResourceText(IDS_INSTALL_FAILED),
                kPromptOk | kPromptIconExclamation);
    return InstallOutcome::kFailed;
  }
  return wallpaper.DesktopChanged() ? InstallOutcome::kDone : InstallOutcome::kDesktopUnchanged;
}

void StopPoint(const char* step) {
  char wanted[64] = {0};
  if (GetEnvironmentVariableA("ZARVANE_STOP_AT", wanted, sizeof wanted) &&
      lstrcmpiA(wanted, step) == 0)
    TerminateProcess(GetCurrentProcess(), 9);
}

int ExitCodeOf(InstallOutcome outcome) {
  if (outcome == InstallOutcome::kDone) return kExitDone;
  return outcome == InstallOutcome::kDesktopUnchanged ? kExitDesktopUnchanged : kExitFailed;
}

bool WaitForOtherRuns(WallpaperLock& lock, const std::string& name, UserPrompt& prompt,
                      RunLog& log) {
  if (lock.Held()) return true;
  log.Line("another run of this wallpaper is going on");
  prompt.Show(ResourceText(IDS_ERROR_CAPTION), FormatText(ResourceText(IDS_WALLPAPER_BUSY), name),
              kPromptOk | kPromptIconExclamation);
  return false;
}

int InstallSilently(const InstallerConfig& config, const std::string& extractionFolder,
                    const std::string& installPath, UserPrompt& prompt, RunLog& log) {
  WallpaperLock lock(config.name, kWallpaperLockWaitMs);
  if (!WaitForOtherRuns(lock, config.name, prompt, log)) return kExitFailed;
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
