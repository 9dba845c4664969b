#include "install_dialog.h"

#include <commctrl.h>

#include <vector>

#include "desktop_shell.h"
#include "desktop_wallpaper.h"
#include "file_system.h"
#include "folder_browser.h"
#include "installer_resources.h"
#include "installer_text.h"
#include "media_type.h"
#include "resource_text.h"
#include "text.h"
#include "uninstaller.h"
#include "wallpaper_name_rule.h"
#include "wallpaper_words.h"

namespace zarvane {
namespace {

std::string ReadWholeFile(const std::string& path, bool& opened) {
  std::string text;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  opened = file != INVALID_HANDLE_VALUE;
  if (!opened) return text;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  CloseHandle(file);
  return text;
}

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

}  // namespace

InstallDialog::InstallDialog(const InstallerConfig& config, const std::string& extractionFolder,
                             bool quiet, const std::string& installPath)
    : DialogWithHandlers(IDD_INSTALL),
      config_(config),
      extractionFolder_(extractionFolder),
      quiet_(quiet),
      installPath_(installPath) {
  OnClicked(IDB_INSTALL, &InstallDialog::Install);
  OnClicked(IDB_BROWSE, &InstallDialog::Browse);
  OnClicked(IDB_DECLINE, &InstallDialog::Decline);
}

bool InstallDialog::OnInit() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HICON large = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON),
                                              GetSystemMetrics(SM_CYICON), 0));
  HICON small = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));

  if (quiet_)
    ShowWindow(Handle(), SW_HIDE);
  else
    PlacePane();

  SetTitle(FormatText(Title(), config_.name));
  if (installPath_.empty()) installPath_ = DefaultInstallFolder();
  SetItemText(IDE_INSTALL_PATH, installPath_);

  if (!quiet_ && !LoadLicence()) LayOutWithoutLicence();
  if (!quiet_) return true;
  Install();
  return false;  // the focus stays on the path a stopped install selected
}

// What a quiet start left out, for a quiet install that stopped on a path to correct.
void InstallDialog::ShowToTheUser() {
  quiet_ = false;
  PlacePane();
  if (!LoadLicence()) LayOutWithoutLicence();
  ShowWindow(Handle(), SW_SHOW);
}

void InstallDialog::PlacePane() {
  RECT rect = ItemRect(IDC_PANE_FRAME);
  InflateRect(&rect, -2, -2);
  rect.top += 6;
  if (config_.showMovie == 0) {
    pane_.CreateFromResource(IDB_INSTALLER_PICTURE, rect, Handle(), IDC_MOVIE_PANE);
  } else if (!config_.movieOrImageFile.empty()) {
    pane_.CreateFromFile(DetectMediaType(config_.movieOrImageFile), config_.movieOrImageFile,
                         rect, Handle(), IDC_MOVIE_PANE);
  }
}

std::string InstallDialog::DefaultInstallFolder() const {
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
  return WithBackslash(folder) + config_.name;
}

bool InstallDialog::LoadLicence() {
  if (config_.licenseFile.empty()) return false;
  bool opened = false;
  std::string text = ReadWholeFile(config_.licenseFile, opened);
  if (!opened) return false;
  SetItemText(IDE_LICENCE, text);
  return true;
}

void InstallDialog::LayOutWithoutLicence() {
  RECT licence = ItemRect(IDE_LICENCE);
  RECT status = ItemRect(IDT_STATUS);
  RECT progress = ItemRect(IDC_PROGRESS);
  RECT decline = ItemRect(IDB_DECLINE);
  RECT install = ItemRect(IDB_INSTALL);
  RECT window;
  GetWindowRect(Handle(), &window);
  int dy = status.top - licence.top;
  int declineWidth = decline.right - decline.left;
  int installWidth = install.right - install.left;

  MoveItem(IDT_STATUS, licence.left, licence.top, status.right - status.left,
           status.bottom - status.top);
  MoveItem(IDC_PROGRESS, licence.left, progress.top - dy, progress.right - progress.left,
           progress.bottom - progress.top);
  MoveItem(IDB_INSTALL, install.right - declineWidth, install.top - dy, declineWidth,
           install.bottom - install.top);
  SetItemText(IDB_INSTALL, ResourceText(IDS_INSTALL));
  MoveItem(IDB_DECLINE, decline.left + installWidth - declineWidth, decline.top - dy,
           declineWidth, decline.bottom - decline.top);
  SetItemText(IDB_DECLINE, ResourceText(IDS_CLOSE));
  ShowItem(IDE_LICENCE, false);
  SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left,
               window.bottom - window.top - dy + (status.bottom - progress.top),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InstallDialog::Browse() {
  std::string chosen;
  if (!BrowseForFolder(Handle(), ResourceText(IDS_BROWSE_TITLE), chosen)) return;
  installPath_ = chosen;
  SetItemText(IDE_INSTALL_PATH, installPath_);
}

bool InstallDialog::ValidateInstallFolder(std::string& folder) {
  const std::string caption = ResourceText(IDS_ERROR_CAPTION);
  folder = Trim(ItemText(IDE_INSTALL_PATH));
  if (folder.empty()) {
    Message(caption, ResourceText(IDS_PATH_EMPTY), MB_ICONEXCLAMATION);
    return false;
  }
  if (!CreateDirectoryA(folder.c_str(), nullptr)) {
    DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
      DWORD attributes = GetFileAttributesA(folder.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
      // A file of that name: Uninstall.exe and Uninstall.ini would have nowhere to go.
      error = ERROR_DIRECTORY;
    }
    Message(caption, SystemErrorText(error), MB_ICONEXCLAMATION);
    return false;
  }
  if (quiet_) return true;
  int answer = Message(ResourceText(IDS_CREATE_FOLDER_CAPTION),
                       FormatText(ResourceText(IDS_CREATE_FOLDER), folder), MB_YESNO);
  if (answer == IDYES) return true;
  RemoveDirectoryA(folder.c_str());
  return false;
}

void InstallDialog::SetStatus(int stringId) {
  SetItemText(IDT_STATUS, FormatText(ResourceText(IDS_STATUS), ResourceText(stringId)));
}

void InstallDialog::Step() { SendMessageA(Item(IDC_PROGRESS), PBM_STEPIT, 0, 0); }

void InstallDialog::WriteUninstallKey(const std::string& installFolder) {
  HKEY root;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_ALL_ACCESS, &root) !=
      ERROR_SUCCESS)
    return;
  HKEY key;
  if (RegCreateKeyA(root, config_.name.c_str(), &key) == ERROR_SUCCESS) {
    std::string command = installFolder + "Uninstall.exe";
    RegSetValueExA(key, "DisplayName", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(config_.name.c_str()),
                   static_cast<DWORD>(config_.name.size() + 1));
    RegSetValueExA(key, "UninstallString", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
  }
  RegCloseKey(root);
}

void InstallDialog::Install() {
  // A second click while a message box of the sequence is open must not start another run.
  if (installing_) return;
  installing_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{installing_};

  std::string folder;
  if (!ValidateInstallFolder(folder)) {
    // A quiet install stays open for the user to correct the path, so it must be seen.
    if (quiet_) ShowToTheUser();
    FocusAndSelect(IDE_INSTALL_PATH);
    return;
  }
  const std::string installFolder = WithBackslash(folder);

  SetStatus(IDS_COPYING_SYSTEM);
  HWND progress = Item(IDC_PROGRESS);
  SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 4));
  SendMessageA(progress, PBM_SETSTEP, 1, 0);
  CopyFileA((extractionFolder_ + "Uninstall.exe").c_str(),
            (installFolder + "Uninstall.exe").c_str(), FALSE);

  SetStatus(IDS_COPYING_WALLPAPER);
  Step();
  char windows[520] = {0};
  if (!GetWindowsDirectoryA(windows, sizeof windows) &&
      !GetSystemDirectoryA(windows, sizeof windows)) {
    Message(ResourceText(IDS_ERROR_CAPTION), ResourceText(IDS_INSTALL_FAILED),
            MB_ICONEXCLAMATION);
    return;
  }

  // A system without Active Desktop may lack the wallpaper directory; without it every wallpaper
  // would look like one that exists already.
  std::string web = WithBackslash(windows) + "Web";
  CreateDirectoryA(web.c_str(), nullptr);
  CreateDirectoryA((web + "\\WallPaper").c_str(), nullptr);

  DesktopWallpaper wallpaper(SystemDesktopShell(), Prompt());
  wallpaper.PrepareDesktop();
  wallpaper.SetName(config_.name);
  wallpaper.SetMovieFile(config_.Prefixed(config_.movieFile));
  wallpaper.SetImageFile(config_.Prefixed(config_.imageFile));
  wallpaper.SetBackgroundImage(config_.Prefixed(config_.backgroundImageFile));
  wallpaper.SetBackgroundColour(ColourFromText(config_.backgroundColour));
  wallpaper.SetAlignment(config_.hAlign, config_.vAlign);
  wallpaper.SetLoop(config_.loop);
  wallpaper.SetQuality(config_.quality);
  wallpaper.SetScale(config_.size);
  wallpaper.SetBackgroundPosition(config_.backgroundPosition);
  wallpaper.PrepareFolder();

  const std::string wallpaperDir = wallpaper.GetWallpaperDir();
  for (const std::string& item : config_.resourceFiles)
    if (IsUsableWallpaperName(item))
      CopyFileA((extractionFolder_ + item).c_str(), (wallpaperDir + item).c_str(), FALSE);

  wallpaper.CopyFiles();
  wallpaper.Apply();
  Step();

  SetStatus(IDS_UPDATING_REGISTRY);
  Step();
  WriteUninstallKey(installFolder);

  const std::string ini = installFolder + "Uninstall.ini";
  std::wstring saved = wallpaper.SavedWallpaper();
  std::string previous = saved.empty() ? std::string("None") : NarrowAnsi(saved);
  const std::string page = wallpaperDir + config_.name + ".htm";
  const std::string regPath = std::string(kUninstallRoot) + "\\" + config_.name;
  WritePrivateProfileStringA("Uninstaller", "SCRFile", page.c_str(), ini.c_str());
  WritePrivateProfileStringA("Uninstaller", "RegPath", regPath.c_str(), ini.c_str());
  WritePrivateProfileStringA("Uninstaller", "Resource", config_.resourceFileList.c_str(),
                             ini.c_str());
  WritePrivateProfileStringA("Uninstaller", "PrevSettings", previous.c_str(), ini.c_str());

  Step();
  End(0);
}

}  // namespace zarvane
