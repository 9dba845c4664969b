#include "install_sequence.h"

#include <windows.h>

#include <vector>

#include "desktop_shell.h"
#include "desktop_wallpaper.h"
#include "file_system.h"
#include "installer_resources.h"
#include "installer_text.h"
#include "resource_text.h"
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

// Bytes of a file, 0 when it is not there.
unsigned long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return 0;
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Records what it writes in the log and adds up its size for the Programs list.
class Written {
 public:
  explicit Written(RunLog& log) : log_(log) {}
  // False when the file is not there.
  bool File(const std::string& path) {
    unsigned long long size = FileSize(path);
    if (!size && !FileExists(path)) {
      log_.Line("not written: ", path);
      return false;
    }
    bytes_ += size;
    log_.Line("wrote ", path);
    return true;
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

bool EnsureInstallFolder(const std::string& folder, bool& created, std::string& error) {
  created = false;
  if (folder.empty()) {
    error = ResourceText(IDS_PATH_EMPTY);
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
  Written written(log);
  progress.Status(IDS_COPYING_SYSTEM);
  CopyFileA((extractionFolder + "Uninstall.exe").c_str(),
            (installFolder + "Uninstall.exe").c_str(), FALSE);
  bool complete = written.File(installFolder + "Uninstall.exe");

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
  const std::string folder = wallpaper.PrepareFolder();
  log.Line("wallpaper folder ", folder);

  const std::string wallpaperDir = wallpaper.GetWallpaperDir();
  for (const std::string& item : config.resourceFiles)
    if (IsUsableWallpaperName(item) &&
        CopyFileA((extractionFolder + item).c_str(), (wallpaperDir + item).c_str(), FALSE))
      written.File(wallpaperDir + item);

  wallpaper.CopyFiles();
  wallpaper.Apply();
  if (!folder.empty())
    for (const std::string& entry : ListDirectory(folder))
      if (entry != "." && entry != "..") written.File(folder + entry);
  const std::string page = wallpaperDir + config.name + ".htm";
  complete = written.File(page) && complete;
  progress.Step();

  progress.Status(IDS_UPDATING_REGISTRY);
  progress.Step();
  // Uninstall.exe and Uninstall.ini are counted in the size too; the latter is small.
  complete = WriteUninstallKey(config.name, installFolder, written.KiB() + 1, log) && complete;

  const std::string ini = installFolder + "Uninstall.ini";
  std::wstring saved = wallpaper.SavedWallpaper();
  std::string previous = saved.empty() ? std::string("None") : NarrowAnsi(saved);
  const std::string regPath = std::string(kUninstallRoot) + "\\" + config.name;
  bool iniWritten =
      WritePrivateProfileStringA("Uninstaller", "SCRFile", page.c_str(), ini.c_str()) &&
      WritePrivateProfileStringA("Uninstaller", "RegPath", regPath.c_str(), ini.c_str()) &&
      WritePrivateProfileStringA("Uninstaller", "Resource", config.resourceFileList.c_str(),
                                 ini.c_str()) &&
      WritePrivateProfileStringA("Uninstaller", "PrevSettings", previous.c_str(), ini.c_str());
  complete = iniWritten && written.File(ini) && complete;

  progress.Step();
  return complete ? InstallOutcome::kDone : InstallOutcome::kFailed;
}

int InstallSilently(const InstallerConfig& config, const std::string& extractionFolder,
                    const std::string& installPath, UserPrompt& prompt, RunLog& log) {
  const std::string folder =
      Trim(installPath.empty() ? DefaultInstallFolder(config.name) : installPath);
  bool created = false;
  std::string error;
  if (!EnsureInstallFolder(folder, created, error)) {
    prompt.Show(ResourceText(IDS_ERROR_CAPTION), error, kPromptOk | kPromptIconExclamation);
    return kExitFailed;
  }
  if (created) log.Line("created folder ", folder);
  InstallProgress unseen;
  InstallOutcome outcome =
      RunInstallSequence(config, extractionFolder, WithBackslash(folder), prompt, log, unseen);
  return outcome == InstallOutcome::kDone ? kExitDone : kExitFailed;
}

}  // namespace zarvane
