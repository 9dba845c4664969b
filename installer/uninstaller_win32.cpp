#include <windows.h>

#include "desktop_shell.h"
#include "desktop_wallpaper.h"
#include "file_system.h"
#include "image_wallpaper.h"
#include "installer_resources.h"
#include "installer_text.h"
#include "resource_text.h"
#include "restart_rename.h"
#include "still_wallpaper.h"
#include "uninstaller.h"
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

  // An edited or stale record could name another installation's wallpaper and key: only the
  // installation whose entry runs this very uninstaller is removed.
  bool foreign = false;
  if (!SameFolder(OwnEntryFolder(name, foreign), program.folder)) {
    prompt.Show(FormatText(ResourceText(IDS_UNINSTALL_NOT_OURS), name),
                kPromptOk | kPromptIconExclamation);
    return kExitFailed;
  }

  std::string question = FormatText(ResourceText(IDS_UNINSTALL_QUESTION), name);
  if (prompt.Show(question, kPromptYesNo | kPromptIconQuestion) != kAnswerYes)
    return kExitDeclined;

  const std::vector<std::string> own = {program.path, ini, program.folder};
  ScheduleDeletionAtRestart(own);
  for (const std::string& path : own) log.Line("removed at the next restart: ", path);
  if (RegDeleteKeyA(HKEY_LOCAL_MACHINE, regPath.c_str()) == ERROR_SUCCESS)
    log.Line("removed key HKEY_LOCAL_MACHINE\\", regPath);
  // HKEY_CURRENT_USER\Software\<name> is left alone: nothing of ours writes it, so whatever is
  // there belongs to another program of that name.

  std::string resources = ReadUninstallValue(ini, "Resource");
  std::string previous = ReadUninstallValue(ini, "PrevSettings");
  std::vector<std::string> items;
  SplitFileList(resources, items);
  const std::string folder = wallpaperDir + name + "\\";
  std::vector<std::string> present;  // for the log: what this run removes
  for (const std::string& path : {folder, page})
    if (Exists(path)) present.push_back(path);
  for (const std::string& item : items)
    if (IsUsableWallpaperName(item) && Exists(wallpaperDir + item))
      present.push_back(wallpaperDir + item);

  // Before the picture goes: the desktop never points at a file that is not there.
  RestoreRecordedImageWallpaper(ini, wallpaper, log);
  wallpaper.SetFolder(folder);
  wallpaper.SetResourceFiles(resources);
  wallpaper.Delete();

  if (SystemImageWallpaper().WindowsMajorVersion() >= 6) {
    // No page was shown there: the image wallpaper, put back above, is the whole desktop.
  } else if (!isPage(previous)) {
    wallpaper.Restore(previous);
    log.Line("desktop wallpaper put back: ", previous);
  } else if (isPage(CurrentDesktopWallpaper())) {
    wallpaper.Restore("None");
    log.Line("desktop wallpaper put back: None");
  }

  DeleteFileA(page.c_str());
  for (const std::string& item : items)
    if (IsUsableWallpaperName(item)) DeleteFileA((wallpaperDir + item).c_str());
  for (const std::string& path : present)
    if (!Exists(path)) log.Line("removed ", path);

  prompt.Show(FormatText(ResourceText(IDS_UNINSTALL_DONE), name),
              kPromptOk | kPromptIconInformation);
  return kExitDone;
}

}  // namespace zarvane
