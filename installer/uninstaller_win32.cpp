#include <windows.h>

#include "desktop_shell.h"
#include "desktop_wallpaper.h"
#include "file_system.h"
#include "installer_resources.h"
#include "installer_text.h"
#include "message_box_prompt.h"
#include "resource_text.h"
#include "restart_rename.h"
#include "uninstaller.h"
#include "wallpaper_name_rule.h"
#include "wallpaper_words.h"

namespace zarvane {

const char kUninstallRoot[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

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

// The record the installer left is only trusted as far as it names this wallpaper's own places:
// a damaged or edited Uninstall.ini must not steer deletions elsewhere.
bool RecordIsSound(const std::string& name, const std::string& regPath, const std::string& page,
                   const std::string& wallpaperDir) {
  if (!IsUsableWallpaperName(name)) return false;
  if (!SameTextIgnoringCase(regPath, std::string(kUninstallRoot) + "\\" + name)) return false;
  return SameTextIgnoringCase(page, wallpaperDir + name + ".htm");
}

}  // namespace

bool ScheduleDeletionAtRestart(const std::vector<std::string>& paths) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) return ScheduleThroughWinInit(paths);
  for (const std::string& path : paths)
    MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return true;
}

bool RunUninstallerUnlessInstalling() {
  char buffer[MAX_PATH] = {0};
  GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string programPath = buffer;
  std::string::size_type slash = programPath.find_last_of('\\');
  std::string programFolder =
      slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
  std::string programName =
      slash == std::string::npos ? programPath : programPath.substr(slash + 1);
  if (!SameTextIgnoringCase(programName, "Uninstall.exe")) return true;

  std::string ini = programFolder + "Uninstall.ini";
  std::string page = ReadUninstallValue(ini, "SCRFile");
  std::string regPath = ReadUninstallValue(ini, "RegPath");
  std::string::size_type cut = regPath.find_last_of('\\');
  std::string name = cut == std::string::npos ? std::string() : regPath.substr(cut + 1);

  MessageBoxPrompt prompt(ResourceText(IDS_UNINSTALL_CAPTION));
  DesktopWallpaper wallpaper(SystemDesktopShell(), prompt);
  const std::string wallpaperDir = WindowsDirectory() + "\\Web\\WallPaper\\";
  if (!RecordIsSound(name, regPath, page, wallpaperDir)) {
    prompt.Show(FormatText(ResourceText(IDS_UNINSTALL_DAMAGED), ini),
                kPromptOk | kPromptIconExclamation);
    return false;
  }

  std::string question = FormatText(ResourceText(IDS_UNINSTALL_QUESTION), name);
  if (prompt.Show(question, kPromptYesNo | kPromptIconQuestion) != kAnswerYes) return false;

  ScheduleDeletionAtRestart({programPath, programFolder + "Uninstall.ini", programFolder});
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, regPath.c_str());
  // HKEY_CURRENT_USER\Software\<name> is left alone: nothing of ours writes it, so whatever is
  // there belongs to another program of that name.

  std::string resources = ReadUninstallValue(ini, "Resource");
  std::string previous = ReadUninstallValue(ini, "PrevSettings");
  wallpaper.SetFolder(wallpaperDir + name + "\\");
  wallpaper.SetResourceFiles(resources);
  wallpaper.Delete();

  if (!SameTextIgnoringCase(previous, page)) {
    wallpaper.Restore(previous);
  } else if (SameTextIgnoringCase(CurrentDesktopWallpaper(), page)) {
    wallpaper.Restore("None");
  }

  DeleteFileA(page.c_str());
  std::vector<std::string> items;
  SplitFileList(resources, items);
  for (const std::string& item : items)
    if (IsUsableWallpaperName(item)) DeleteFileA((wallpaperDir + item).c_str());

  prompt.Show(FormatText(ResourceText(IDS_UNINSTALL_DONE), name),
              kPromptOk | kPromptIconInformation);
  return false;
}

}  // namespace zarvane
