#include "install_dialog.h"

#include <commctrl.h>

#include "dpi.h"
#include "folder_browser.h"
#include "installer_resources.h"
#include "installer_text.h"
#include "media_type.h"
#include "resource_text.h"
#include "text.h"

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

std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

}  // namespace

InstallDialog::InstallDialog(const InstallerConfig& config, const std::string& extractionFolder,
                             bool quiet, const std::string& installPath, RunLog& log)
    : DialogWithHandlers(IDD_INSTALL),
      config_(config),
      extractionFolder_(extractionFolder),
      quiet_(quiet),
      installPath_(installPath),
      log_(log) {
  OnClicked(IDB_INSTALL, &InstallDialog::Install);
  OnClicked(IDB_BROWSE, &InstallDialog::Browse);
  OnClicked(IDB_DECLINE, &InstallDialog::Decline);
}

int InstallDialog::RunForExitCode() {
  if (RunModal(nullptr) < 0) return kExitFailed;
  return exitCode_;
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
  if (installPath_.empty()) installPath_ = DefaultInstallFolder(config_.name);
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
    pane_.CreateFromResource(
        DpiOf(Handle()) > kBaseDpi ? IDB_INSTALLER_PICTURE_LARGE : IDB_INSTALLER_PICTURE, rect,
        Handle(), IDC_MOVIE_PANE);
  } else if (!config_.movieOrImageFile.empty()) {
    pane_.CreateFromFile(DetectMediaType(config_.movieOrImageFile), config_.movieOrImageFile,
                         rect, Handle(), IDC_MOVIE_PANE);
  }
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

bool InstallDialog::ValidateInstallFolder(std::string& folder, bool& created) {
  folder = Trim(ItemText(IDE_INSTALL_PATH));
  std::string error;
  if (!EnsureInstallFolder(folder, config_.name, created, error)) {
    prompt_.Show(ResourceText(IDS_ERROR_CAPTION), error, kPromptOk | kPromptIconExclamation);
    return false;
  }
  if (!created) return true;
  log_.Line("created folder ", folder);
  if (quiet_) return true;
  int answer = prompt_.Show(ResourceText(IDS_CREATE_FOLDER_CAPTION),
                            FormatText(ResourceText(IDS_CREATE_FOLDER), folder), kPromptYesNo);
  if (answer == kAnswerYes) return true;
  RemoveDirectoryA(folder.c_str());
  log_.Line("removed folder ", folder);
  return false;
}

void InstallDialog::Status(int stringId) {
  SetItemText(IDT_STATUS, FormatText(ResourceText(IDS_STATUS), ResourceText(stringId)));
}

void InstallDialog::Step() { SendMessageA(Item(IDC_PROGRESS), PBM_STEPIT, 0, 0); }

void InstallDialog::Install() {
  // A second click while a message box of the sequence is open must not start another run.
  if (installing_) return;
  installing_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{installing_};

  WallpaperLock lock(config_.name, kWallpaperLockWaitMs);
  if (!WaitForOtherRuns(lock, config_.name, prompt_, log_)) {
    if (quiet_) ShowToTheUser();
    return;
  }
  std::string folder;
  bool created = false;
  if (!ValidateInstallFolder(folder, created)) {
    // A quiet install stays open for the user to correct the path, so it must be seen.
    if (quiet_) ShowToTheUser();
    FocusAndSelect(IDE_INSTALL_PATH);
    return;
  }
  HWND progress = Item(IDC_PROGRESS);
  SendMessageA(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 4));
  SendMessageA(progress, PBM_SETSTEP, 1, 0);
  InstallOutcome outcome =
      RunInstallSequence(config_, extractionFolder_, WithBackslash(folder), prompt_, log_, *this);
  if (outcome == InstallOutcome::kStopped) {
    // Nothing was installed: a folder made for it goes again (only while empty).
    if (created && RemoveDirectoryA(folder.c_str())) log_.Line("removed folder ", folder);
    if (quiet_) ShowToTheUser();  // a hidden dialog left open would wait for ever
    return;
  }
  exitCode_ = ExitCodeOf(outcome);
  if (outcome == InstallOutcome::kDesktopUnchanged)
    prompt_.Show(ResourceText(IDS_ERROR_CAPTION), ResourceText(IDS_DESKTOP_UNCHANGED),
                 kPromptOk | kPromptIconExclamation);
  End(0);
}

}  // namespace zarvane
