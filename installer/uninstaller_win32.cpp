#include <windows.h>

#include "desktop_shell.h"
#include "desktop_wallpaper.h"
#include "file_system.h"
#include "image_wallpaper.h"
#include "install_sequence.h"
#include "installer_resources.h"
#include "installer_text.h"
#include "resource_text.h"
#include "restart_rename.h"
#include "still_wallpaper.h"
#include "text.h"
#include "uninstaller.h"
#include "wallpaper_lock.h"
#include "wallpaper_name_rule.h"
#include "wallpaper_words.h"

namespace zarvane {

const char kUninstallRoot[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string ResolvedPath(const std::string& path) { return LongPathOf(path); }

namespace {

std::string SystemLowerCase(std::string text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string ReadUninstallValue(const std::string& ini, const char* key) {
  char buffer[1024] = {0};
  GetPrivateProfileStringA("Uninstaller", key, "", buffer, sizeof buffer, ini.c_str());
  return buffer;
}

std::string CurrentDesktopWallpaper() {
  DesktopShell& shell = SystemDesktopShell();
  std::wstring wallpaper;
  shell.InitializeCom();
  if (shell.CreateActiveDesktop()) {
    shell.GetWallpaper(wallpaper, 1024);
    shell.ReleaseActiveDesktop();
  }
  shell.UninitializeCom();
  return NarrowAnsi(wallpaper);
}

bool ScheduleThroughWinInit(const std::vector<std::string>& paths) {
  char windows[MAX_PATH] = {0};
  GetWindowsDirectoryA(windows, MAX_PATH);
  std::string file = windows;
  if (file.empty() || file.back() != '\\') file += '\\';
  file += "WinInit.ini";
  for (std::size_t i = 0; i < paths.size(); ++i)
    WritePrivateProfileStringA("rename", RestartRenameKey(static_cast<int>(i)).c_str(),
                               paths[i].c_str(), file.c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // to disk now
  if (paths.empty()) return false;

  HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  text = RestartRenameText(text, static_cast<int>(paths.size()), &SystemLowerCase);
  SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
  SetEndOfFile(handle);
  DWORD written = 0;
  bool ok = WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
            written == text.size();
  CloseHandle(handle);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // forget the cached text
  return ok;
}

std::string LongFolder(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return ResolvedPath(folder);
}

// The Windows folders a record's page may lie under: the one this process is given and, where
// Windows gives each user a Windows folder of their own, the shared one.
std::vector<std::string> WindowsFolders() {
  std::vector<std::string> folders = {WindowsDirectory()};
  using FolderFunction = UINT(WINAPI*)(LPSTR, UINT);
  // Looked up: Windows 95 and 98 lack it, and the program must still start there.
  auto sharedFolder = reinterpret_cast<FolderFunction>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWindowsDirectoryA")));
  char shared[MAX_PATH] = {0};
  UINT length = sharedFolder ? sharedFolder(shared, MAX_PATH) : 0;
  if (length && length < MAX_PATH) folders.push_back(shared);
  return folders;
}

// The record the installer left is only trusted as far as it names this wallpaper's own places:
// a damaged or edited Uninstall.ini must not steer deletions elsewhere. Returns the Windows
// folder whose wallpaper directory holds the recorded page, however the record spells it; empty
// for a record that is not sound.
std::string RecordedWindowsFolder(const std::string& name, const std::string& regPath,
                                  const std::string& page) {
  if (!IsUsableWallpaperName(name)) return std::string();
  if (!SameTextIgnoringCase(regPath, std::string(kUninstallRoot) + "\\" + name))
    return std::string();
  const std::string resolved = ResolvedPath(page);
  const std::string::size_type cut = resolved.find_last_of('\\');
  if (cut == std::string::npos || !SameTextIgnoringCase(resolved.substr(cut + 1), name + ".htm"))
    return std::string();
  for (const std::string& windows : WindowsFolders())
    if (SameFolder(resolved.substr(0, cut + 1), windows + "\\Web\\WallPaper\\")) return windows;
  return std::string();
}

std::string ReadKeyText(HKEY key, const char* value) {
  char buffer[1024] = {0};
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string();
  return buffer;
}

// The folder of the Uninstall.exe an UninstallString runs, quoted or not; empty for any other
// program.
std::string UninstallerFolder(std::string command) {
  if (command.size() >= 2 && command[0] == '"') {
    std::string::size_type end = command.find('"', 1);
    if (end == std::string::npos) return std::string();
    command = command.substr(1, end - 1);
  }
  const std::string program = "\\Uninstall.exe";
  if (command.size() <= program.size() ||
      !SameTextIgnoringCase(command.substr(command.size() - program.size()), program))
    return std::string();
  return command.substr(0, command.size() - program.size() + 1);
}

}  // namespace

bool SameFolder(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  // Text cannot tell a drive letter mapped onto a folder from another folder; identity can.
  FolderIdentity first, second;
  if (NearestFolderIdentity(a, first) && !first.missing && NearestFolderIdentity(b, second) &&
      !second.missing)
    return SameIdentity(first, second);
  return SameTextIgnoringCase(LongFolder(a), LongFolder(b));
}

bool RecordNamesWallpaper(const std::string& ini, const std::string& name) {
  return FileExists(ini) && IsUsableWallpaperName(name) &&
         !RecordedWindowsFolder(name, ReadUninstallValue(ini, "RegPath"),
                                ReadUninstallValue(ini, "SCRFile"))
              .empty();
}

std::string OwnEntryFolder(const std::string& name, bool& foreign) {
  foreign = false;
  HKEY key;
  const std::string path = std::string(kUninstallRoot) + "\\" + name;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::string();
  const std::string command = ReadKeyText(key, "UninstallString");
  std::string folder = UninstallerFolder(command);
  // An entry of ours whose folder was deleted by hand: no program of anyone's is left to lose.
  bool orphan = !folder.empty() && GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES &&
                ReadKeyText(key, "DisplayName") == name &&
                ReadKeyText(key, "QuietUninstallString") == command + " /S" &&
                SameFolder(ReadKeyText(key, "InstallLocation"), folder);
  RegCloseKey(key);
  if (orphan) return folder;
  if (folder.empty() || !RecordNamesWallpaper(folder + "Uninstall.ini", name)) {
    foreign = true;
    return std::string();
  }
  return folder;
}

std::string RecordValue(const std::string& ini, const char* key) {
  return ReadUninstallValue(ini, key);
}

bool RecordListsResource(const std::string& ini, const std::string& item) {
  std::vector<std::string> items;
  SplitFileList(ReadUninstallValue(ini, "Resource"), items);
  for (const std::string& listed : items)
    if (SameTextIgnoringCase(listed, item)) return true;
  return false;
}

bool IsWallpaperPage(const std::string& wallpaperDir, const std::string& item) {
  const std::string ending = ".htm";
  if (item.size() <= ending.size() ||
      !SameTextIgnoringCase(item.substr(item.size() - ending.size()), ending))
    return false;
  const DWORD attributes =
      GetFileAttributesA((wallpaperDir + item.substr(0, item.size() - ending.size())).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> InstalledRecords() {
  std::vector<std::string> records;
  HKEY root;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_READ, &root) != ERROR_SUCCESS)
    return records;
  char name[1024];
  for (DWORD i = 0; RegEnumKeyA(root, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
    bool foreign = false;
    const std::string folder = OwnEntryFolder(name, foreign);
    if (!foreign && !folder.empty() && RecordNamesWallpaper(folder + "Uninstall.ini", name))
      records.push_back(folder + "Uninstall.ini");
  }
  RegCloseKey(root);
  return records;
}

bool ScheduleDeletionAtRestart(const std::vector<std::string>& paths) {
  if (OnWindows9x()) return ScheduleThroughWinInit(paths);
  for (const std::string& path : paths)
    MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return true;
}

namespace {

struct ProgramPath {
  std::string path, folder, name;
};

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A folder of a killed run's files has no page beside it; a wallpaper's folder has.
bool HasPageBeside(const std::string& folder) { return Exists(folder + ".htm"); }

ProgramPath OwnProgramPath() {
  char buffer[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  ProgramPath program;
  program.path = buffer;
  std::string::size_type slash = program.path.find_last_of('\\');
  program.folder = slash == std::string::npos ? std::string() : program.path.substr(0, slash + 1);
  program.name = slash == std::string::npos ? program.path : program.path.substr(slash + 1);
  return program;
}

}  // namespace

bool IsUninstallerProgram() {
  return SameTextIgnoringCase(OwnProgramPath().name, "Uninstall.exe");
}

int RunUninstaller(UserPrompt& prompt, RunLog& log) {
  const ProgramPath program = OwnProgramPath();
  std::string ini = program.folder + "Uninstall.ini";
  const std::string recordedPage = ReadUninstallValue(ini, "SCRFile");
  std::string regPath = ReadUninstallValue(ini, "RegPath");
  std::string::size_type cut = regPath.find_last_of('\\');
  std::string name = cut == std::string::npos ? std::string() : regPath.substr(cut + 1);

  const std::string windows = RecordedWindowsFolder(name, regPath, recordedPage);
  if (windows.empty()) {
    prompt.Show(FormatText(ResourceText(IDS_UNINSTALL_DAMAGED), ini),
                kPromptOk | kPromptIconExclamation);
    return kExitFailed;
  }
  DesktopWallpaper wallpaper(SystemDesktopShell(), prompt, windows);
  const std::string wallpaperDir = wallpaper.GetWallpaperDir();
  const std::string page = wallpaperDir + name + ".htm";
  auto isPage = [&](const std::string& path) {
    return SameTextIgnoringCase(path, recordedPage) || SameTextIgnoringCase(path, page);
  };

  // An edited or stale record could name another installation's wallpaper and key: the entry,
  // where there is one, must run this very uninstaller. A sound record without an entry (one
  // never written, or removed by a cleaner) is this folder's own installation.
  bool foreign = false;
  const std::string entryFolder = OwnEntryFolder(name, foreign);
  if (foreign || (!entryFolder.empty() && !SameFolder(entryFolder, program.folder))) {
    prompt.Show(FormatText(ResourceText(IDS_UNINSTALL_NOT_OURS), name),
                kPromptOk | kPromptIconExclamation);
    return kExitFailed;
  }

  std::string question = FormatText(ResourceText(IDS_UNINSTALL_QUESTION), name);
  if (prompt.Show(question, kPromptYesNo | kPromptIconQuestion) != kAnswerYes)
    return kExitDeclined;
  WallpaperLock lock(name, kWallpaperLockWaitMs);
  if (!lock.Held()) {
    prompt.Show(FormatText(ResourceText(IDS_WALLPAPER_BUSY), name),
                kPromptOk | kPromptIconExclamation);
    return kExitFailed;
  }

  // The order of docs/installer-format.md: the desktop, the files, the record, the entry last;
  // a run stopped anywhere is finished by the next.
  std::vector<std::string> others;
  for (const std::string& record : InstalledRecords())
    if (!SameFolder(record.substr(0, record.size() - 13), program.folder)) others.push_back(record);
  const bool replacedSince = PassOnPrevious(ini, others, log);

  // 1. The desktop: never left pointing at a file about to go.
  std::string previous = ReadUninstallValue(ini, "PrevSettings");
  if (!replacedSince) RestoreRecordedImageWallpaper(ini, wallpaper, log);
  if (replacedSince || SystemImageWallpaper().WindowsMajorVersion() >= 6) {
    // Another wallpaper that replaced this one shows now, and puts back what this one replaced;
    // on Windows 6 and later no page was shown.
  } else if (!isPage(previous)) {
    wallpaper.Restore(previous);
    log.Line("desktop wallpaper put back: ", previous);
  } else if (isPage(CurrentDesktopWallpaper())) {
    wallpaper.Restore("None");
    log.Line("desktop wallpaper put back: None");
  }

  StopPoint("desktop");
  // 2. The files: folder, page, what killed runs left, and each resource file that this record
  // lists and no other installed wallpaper's does (never a page).
  std::vector<std::string> items, own;
  SplitFileList(ReadUninstallValue(ini, "Resource"), items);
  for (const std::string& item : items) {
    bool shared = !IsUsableWallpaperName(item) || IsWallpaperPage(wallpaperDir, item) ||
                  SameTextIgnoringCase(item, name + ".htm");
    for (const std::string& other : others) shared = shared || RecordListsResource(other, item);
    if (!shared) own.push_back(item);
  }
  const std::string folder = wallpaperDir + name + "\\";
  std::vector<std::string> present;  // for the log: what this run removes
  for (const std::string& path : {folder, page})
    if (Exists(path)) present.push_back(path);
  for (const std::string& item : own)
    if (Exists(wallpaperDir + item)) present.push_back(wallpaperDir + item);
  wallpaper.SetFolder(folder);
  wallpaper.Delete();
  DeleteFileA(page.c_str());
  for (const std::string& item : own) DeleteFileA((wallpaperDir + item).c_str());
  for (const char* what : {".new-", ".res-", ".old-"})
    RemoveFoldersOfEndedRuns(wallpaperDir, name + what, &HasPageBeside);
  for (const std::string& path : present)
    if (!Exists(path)) log.Line("removed ", path);

  StopPoint("files");
  // 3. The record, with the program that reads it, at the next restart.
  const std::vector<std::string> record = {program.path, ini, program.folder};
  ScheduleDeletionAtRestart(record);
  for (const std::string& path : record) log.Line("removed at the next restart: ", path);
  StopPoint("record");
  // 4. The entry, when it is ours.
  if (!entryFolder.empty() && RegDeleteKeyA(HKEY_LOCAL_MACHINE, regPath.c_str()) == ERROR_SUCCESS)
    log.Line("removed key HKEY_LOCAL_MACHINE\\", regPath);
  // HKEY_CURRENT_USER\Software\<name> is left alone: nothing of ours writes it, so whatever is
  // there belongs to another program of that name.

  prompt.Show(FormatText(ResourceText(IDS_UNINSTALL_DONE), name),
              kPromptOk | kPromptIconInformation);
  return kExitDone;
}

}  // namespace zarvane
