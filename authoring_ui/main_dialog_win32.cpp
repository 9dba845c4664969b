#include "main_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "build_installer.h"
#include "dpi.h"
#include "help_commands.h"
#include "locate_flash_control.h"
#include "main_ids.h"
#include "picture.h"
#include "picture_ids.h"
#include "tip_table.h"
#include "tool_settings.h"

namespace zarvane {
namespace {

// The window is laid out in pixels, because its pictures are: banners 42 and 23 high, the pages
// 465 x 330 at the right below the top banner, a strip of 24 for Build Now above the bottom
// banner. The template's dialog units give that only with the font metrics of Windows itself.
// The numbers are at 96 DPI; at others they scale, and where the pages' templates (which grow
// with the font) come out larger still, the window widens and deepens by the difference.
constexpr int kClientWidth = 612;
constexpr int kClientHeight = 419;
constexpr int kPageWidth = 465;
constexpr int kPageHeight = 330;
constexpr int kPageTop = 42;
constexpr int kPageUnitsWidth = 310;  // every page's template, tabs.rc
constexpr int kPageUnitsHeight = 205;
constexpr int kMenuDrop = 5;  // the popup opens this far below its button
// A timer's message comes only after every window of the thread has painted.
constexpr UINT_PTR kMakePagesTimer = 1;

// What a place does when the pages need more room than the scaled table gives them.
enum Grow { kStays = 0, kRight = 1, kWider = 2, kDown = 4, kTaller = 8 };
struct Place {
  int id, x, y, width, height, grow;
};
constexpr Place kLayout[] = {
    {IDC_TOP_BANNER, 0, 0, 612, 42, kWider},
    {IDC_PROJECT_BUTTON, 452, 10, 72, 22, kRight},
    {IDC_HELP_BUTTON, 532, 10, 72, 22, kRight},
    {IDC_SHOW_WALLPAPER, 6, 54, 136, 34, kStays},
    {IDC_SHOW_PREVIEW_WINDOW, 6, 92, 136, 34, kStays},
    {IDC_SHOW_INSTALLER, 6, 130, 136, 34, kStays},
    {IDC_TIP_PANEL, 6, 176, 136, 190, kTaller},
    {IDT_BUILD_STATUS, 6, 378, 136, 14, kDown},
    {IDC_BUILD_PROGRESS, 164, 378, 328, 12, kDown | kWider},
    {IDC_BUILD_NOW, 502, 372, 104, 24, kDown | kRight},
    {IDC_BOTTOM_BANNER, 0, 396, 612, 23, kDown | kWider},
};
// The banners are pictures of the window's width: drawn again when it is not theirs.
constexpr struct {
  int id, picture;
} kBanners[] = {{IDC_TOP_BANNER, IDB_TOP_BANNER}, {IDC_BOTTOM_BANNER, IDB_BOTTOM_BANNER}};

// Check boxes and radio buttons edit the project; the picture buttons (owner-drawn) only open
// choosers or act.
bool IsPlainButton(HWND control) {
  char name[16] = {};
  if (!control || !GetClassNameA(control, name, sizeof name)) return false;
  return lstrcmpiA(name, "Button") == 0 &&
         (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW;
}

}  // namespace

MainDialog::MainDialog(std::string commandLine, bool onlyCopy)
    : Dialog(IDD_MAIN),
      commandLine_(std::move(commandLine)),
      onlyCopy_(onlyCopy),
      wallpaperTab_([this] {
        PreviewSettings record;
        GetPreview(record);
        return record;
      }),
      installerTab_([this] { return wallpaperTab_.CurrentName(); }),
      recentFiles_(RegistryToolSettings()) {}

MainDialog::~MainDialog() {
  if (whiteBrush_) DeleteObject(whiteBrush_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  for (HBITMAP banner : banners_)
    if (banner) DeleteObject(banner);
}

bool MainDialog::OnInit() {
  ShowTemplatePictures(Handle(), IDD_MAIN);
  LayOut();
  AttachControls();
  HINSTANCE self = GetModuleHandleA(nullptr);
  largeIcon_ = LoadIconA(self, MAKEINTRESOURCEA(IDI_ZARVANE));
  smallIcon_ = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(IDI_ZARVANE), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
  SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  whiteBrush_ = CreateSolidBrush(RGB(255, 255, 255));

  MakePage(kWallpaperPage);
  if (onlyCopy_) wallpaperTab_.UndoLeftOverPreview();
  SwitchTo(kWallpaperPage, true, true);
  NewProject(false);

  char temporary[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temporary);
  buildState_.temporaryFolder = temporary;

  HideProgress();
  recentFiles_.Load();
  if (!commandLine_.empty()) OpenProjectAt(commandLine_);
  SetTimer(Handle(), kMakePagesTimer, 0, nullptr);
  return false;  // the wallpaper page has put the focus on its first field
}

void MainDialog::LayOut() {
  const int dpi = DpiOf(Handle());
  // The main window's template has the pages' font, so it measures their templates too.
  RECT page = {0, 0, kPageUnitsWidth, kPageUnitsHeight};
  MapDialogRect(Handle(), &page);
  // From scaled edges, as the places below: the page meets Build Now's strip after rounding too.
  pageTop_ = DpiScale(dpi, kPageTop);
  const int scaledWidth = DpiScale(dpi, kClientWidth) - DpiScale(dpi, kClientWidth - kPageWidth);
  const int scaledHeight = DpiScale(dpi, kPageTop + kPageHeight) - pageTop_;
  pageWidth_ = std::max(scaledWidth, static_cast<int>(page.right));
  pageHeight_ = std::max(scaledHeight, static_cast<int>(page.bottom));
  const int wider = pageWidth_ - scaledWidth;
  const int deeper = pageHeight_ - scaledHeight;

  RECT frame = {0, 0, DpiScale(dpi, kClientWidth) + wider, DpiScale(dpi, kClientHeight) + deeper};
  AdjustWindowRectEx(&frame, GetWindowLongA(Handle(), GWL_STYLE), FALSE,
                     GetWindowLongA(Handle(), GWL_EXSTYLE));
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  // Larger than the screen (a high DPI on a small one): the caption stays in reach.
  SetWindowPos(Handle(), nullptr,
               std::max(work.left, work.left + (work.right - work.left - width) / 2),
               std::max(work.top, work.top + (work.bottom - work.top - height) / 2), width,
               height, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Place& place : kLayout) {
    // Scaled edges rather than scaled sizes: neighbours that touch at 96 DPI still touch.
    int left = DpiScale(dpi, place.x), top = DpiScale(dpi, place.y);
    int right = DpiScale(dpi, place.x + place.width), bottom = DpiScale(dpi, place.y + place.height);
    if (place.grow & kRight) left += wider, right += wider;
    if (place.grow & kWider) right += wider;
    if (place.grow & kDown) top += deeper, bottom += deeper;
    if (place.grow & kTaller) bottom += deeper;
    MoveItem(place.id, left, top, right - left, bottom - top);
  }
  for (std::size_t i = 0; i < sizeof kBanners / sizeof kBanners[0]; ++i) {
    RECT at = ItemRect(kBanners[i].id);
    HBITMAP shown = reinterpret_cast<HBITMAP>(
        SendMessageA(Item(kBanners[i].id), STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size;
    if (!shown || !GetObjectA(shown, sizeof size, &size) ||
        (size.bmWidth == at.right - at.left && size.bmHeight == at.bottom - at.top))
      continue;
    HBITMAP picture = LoadPicture(kBanners[i].picture);
    banners_[i] = ScalePicture(picture, at.right - at.left, at.bottom - at.top);
    if (picture) DeleteObject(picture);
    if (!banners_[i]) continue;
    SendMessageA(Item(kBanners[i].id), STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(banners_[i]));
    // A bitmap static takes its picture's size; the place stays the table's.
    MoveItem(kBanners[i].id, at.left, at.top, at.right - at.left, at.bottom - at.top);
  }
}

void MainDialog::AttachControls() {
  HWND self = Handle();
  wallpaperButton_.Attach(self, IDC_SHOW_WALLPAPER, BitmapButton::kLatch, IDB_TAB_WALLPAPER,
                          IDB_TAB_WALLPAPER_HOVER, IDB_TAB_WALLPAPER_LATCHED,
                          IDB_TAB_WALLPAPER_DISABLED);
  previewWindowButton_.Attach(self, IDC_SHOW_PREVIEW_WINDOW, BitmapButton::kLatch,
                              IDB_TAB_PREVIEW_WINDOW, IDB_TAB_PREVIEW_WINDOW_HOVER,
                              IDB_TAB_PREVIEW_WINDOW_LATCHED, IDB_TAB_PREVIEW_WINDOW_DISABLED);
  installerButton_.Attach(self, IDC_SHOW_INSTALLER, BitmapButton::kLatch, IDB_TAB_INSTALLER,
                          IDB_TAB_INSTALLER_HOVER, IDB_TAB_INSTALLER_LATCHED,
                          IDB_TAB_INSTALLER_DISABLED);
  projectButton_.Attach(self, IDC_PROJECT_BUTTON, BitmapButton::kLatch, IDB_MENU_PROJECT,
                        IDB_MENU_PROJECT_HOVER, IDB_MENU_PROJECT_LATCHED,
                        IDB_MENU_PROJECT_DISABLED);
  helpButton_.Attach(self, IDC_HELP_BUTTON, BitmapButton::kLatch, IDB_MENU_HELP,
                     IDB_MENU_HELP_HOVER, IDB_MENU_HELP_LATCHED, IDB_MENU_HELP_DISABLED);
  buildButton_.Attach(self, IDC_BUILD_NOW, BitmapButton::kPush, IDB_BUILD_NOW, IDB_BUILD_NOW_HOVER,
                      IDB_BUILD_NOW_LATCHED, IDB_BUILD_NOW_DISABLED);
  tipPanel_.Attach(self, IDC_TIP_PANEL, IDB_TIP_PICTURE);
}

void MainDialog::MakePage(int page) {
  TabPage& made = PageOf(page);
  if (made.Handle()) return;
  RECT client;
  GetClientRect(Handle(), &client);
  // A page made while the author works leaves the focus, the tip and the modified mark alone.
  HWND focus = GetFocus();
  fillingPage_ = true;
  made.CreateModeless(Handle());
  ShowTemplatePictures(made.Handle(), made.TemplateId());
  SetWindowPos(made.Handle(), HWND_TOP, client.right - pageWidth_, client.top + pageTop_,
               pageWidth_, pageHeight_, SWP_HIDEWINDOW);
  if (page == kPreviewWindowPage) previewWindowTab_.Set(pendingPreview_);
  if (page == kSettingsWindowPage) settingsWindowTab_.Set(pendingSettingsBox_);
  if (page == kInstallerPage) installerTab_.Set(pendingInstaller_);
  if (focus && GetFocus() != focus && IsWindow(focus)) SetFocus(focus);
  fillingPage_ = false;
}

void MainDialog::MakeOtherPages() {
  KillTimer(Handle(), kMakePagesTimer);
  // In the order of the pages' templates: 108, 107, 109.
  for (int page : {kSettingsWindowPage, kPreviewWindowPage, kInstallerPage}) MakePage(page);
}

TabPage& MainDialog::PageAt(int page) {
  MakePage(page);
  return PageOf(page);
}

TabPage& MainDialog::PageOf(int page) {
  switch (page) {
    case kWallpaperPage:
      return wallpaperTab_;
    case kPreviewWindowPage:
      return previewWindowTab_;
    case kSettingsWindowPage:
      return settingsWindowTab_;
    default:
      return installerTab_;
  }
}

void MainDialog::SwitchTo(int page, bool show, bool focus) {
  if (page == currentPage_) return;
  wallpaperButton_.SetLatched(page == kWallpaperPage);
  previewWindowButton_.SetLatched(page == kPreviewWindowPage);
  installerButton_.SetLatched(page == kInstallerPage);
  if (show) {
    PageAt(page).Show(focus);
    for (int other = 0; other < 4; ++other)
      if (other != page && PageOf(other).Handle()) ShowWindow(PageOf(other).Handle(), SW_HIDE);
  }
  currentPage_ = page;
}

void MainDialog::RefreshTitle() {
  std::string name = projectPath_.empty() ? "Untitled.zvp" : projectPath_;
  if (modified_) name += " *";
  SetTitle("Zarvane - [" + name + "]");
  if (!projectPath_.empty()) recentFiles_.Add(projectPath_);
}

void MainDialog::SetModified(bool modified) {
  modified_ = modified;
  if (Handle()) RefreshTitle();
}

// A page's command, before the page itself handles it: edits mark the project modified and a
// control that takes the focus shows its tip.
void MainDialog::OnForwardedCommand(WPARAM wParam, LPARAM lParam) {
  int id = LOWORD(wParam), code = HIWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  if (fillingPage_) return;
  if (code == EN_CHANGE || code == CBN_SELCHANGE || (code == BN_CLICKED && IsPlainButton(control)))
    SetModified(true);
  if (code == CBN_SETFOCUS || code == BN_SETFOCUS || code == EN_SETFOCUS) {
    std::string title, text;
    if (LookUpTip(id, code, title, text)) tipPanel_.SetTip(title, text);
  }
}

bool MainDialog::OnCommand(int id, int notifyCode) {
  (void)notifyCode;
  switch (id) {
    case IDC_SHOW_WALLPAPER:
      SwitchTo(kWallpaperPage, true, true);
      return true;
    case IDC_SHOW_PREVIEW_WINDOW:
      SwitchTo(kPreviewWindowPage, true, true);
      return true;
    case IDC_SHOW_SETTINGS_WINDOW:
      SwitchTo(kSettingsWindowPage, true, true);
      return true;
    case IDC_SHOW_INSTALLER:
      SwitchTo(kInstallerPage, true, true);
      return true;
    case IDC_PROJECT_BUTTON:
      ShowMenu(projectButton_, IDR_PROJECT_MENU, true);
      return true;
    case IDC_HELP_BUTTON:
      ShowMenu(helpButton_, IDR_HELP_MENU, false);
      return true;
    case IDC_BUILD_NOW:
      BuildNow();
      return true;
    case IDM_NEW:
      NewProject(true);
      return true;
    case IDM_OPEN:
      OpenCommand();
      return true;
    case IDM_SAVE:
      Save();
      return true;
    case IDM_SAVE_AS:
      SaveAs();
      return true;
    case IDM_EXIT:
      OnCancel();
      return true;
    case IDM_HELP_CONTENTS:
      ShowHelpContents(Handle());
      return true;
    case IDM_SUPPORT_SITE:
      OpenSupportSite(Handle());
      return true;
    case IDM_MORE_PRODUCTS:
      OpenMoreProducts(Handle());
      return true;
    case IDM_ABOUT:
      ShowAboutBox(Handle());
      return true;
  }
  if (id >= IDM_RECENT_FIRST && id < IDM_RECENT_FIRST + RecentFileList::kMaximum) {
    OpenRecent(id - IDM_RECENT_FIRST);
    return true;
  }
  return false;
}

void MainDialog::ShowMenu(BitmapButton& button, int menuId, bool withRecent) {
  HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
  HMENU popup = GetSubMenu(bar, 0);
  if (withRecent) {
    // Between "Save &As" and the separator above "E&xit".
    constexpr UINT kRecentPosition = 4;
    recentFiles_.Load();
    const auto& entries = recentFiles_.Entries();
    if (!entries.empty()) {
      InsertMenuA(popup, kRecentPosition, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
      for (std::size_t i = 0; i < entries.size(); ++i)
        InsertMenuA(popup, kRecentPosition + 1 + i, MF_BYPOSITION | MF_STRING,
                    RecentFileList::kFirstCommand + i, recentFiles_.MenuText(i).c_str());
    }
  }
  RECT rect;
  GetWindowRect(button.Handle(), &rect);
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, rect.left,
                 rect.bottom + DpiScale(DpiOf(Handle()), kMenuDrop), 0,
                 Handle(), nullptr);
  DestroyMenu(bar);
  button.SetLatched(false);
}

void MainDialog::OnDropFiles(HDROP drop) {
  char path[MAX_PATH] = {};
  DragQueryFileA(drop, 0, path, MAX_PATH);
  std::string dropped = path;
  std::string tail = dropped.size() > 2 ? dropped.substr(dropped.size() - 3) : std::string();
  CharUpperA(&tail[0]);
  if (tail == "ZVP") {
    if (AskToSave() != kCancel) OpenProjectAt(dropped);
  } else {
    Message("Error", "The dropped file is not a valid Zarvane project file.",
            MB_OK | MB_ICONEXCLAMATION);
  }
  DragFinish(drop);
}

void MainDialog::OnCancel() {
  if (AskToSave() != kCancel) End(IDCANCEL);
}

void MainDialog::OnDestroy() {
  KillTimer(Handle(), kMakePagesTimer);
  if (wallpaperTab_.Previewing()) wallpaperTab_.CancelPreview();
  TabPage* pages[] = {&wallpaperTab_, &settingsWindowTab_, &previewWindowTab_, &installerTab_};
  for (TabPage* page : pages) page->End(0);
}

bool MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case kForwardedCommand:
      OnForwardedCommand(wParam, lParam);
      result = 0;
      return true;
    case kPageEdited:
      if (!fillingPage_) SetModified(true);
      result = 0;
      return true;
    case WM_TIMER:
      if (wParam != kMakePagesTimer) return false;
      MakeOtherPages();
      result = 0;
      return true;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      result = 0;
      return true;
    case WM_QUERYENDSESSION:
      // Unsaved work is asked about as on closing; Cancel keeps the session going.
      result = AskToSave() != kCancel;
      return true;
    case WM_ENDSESSION:
      // Windows may end without destroying this window: the author's own wallpaper comes back
      // now, not never.
      if (wParam && wallpaperTab_.Previewing()) wallpaperTab_.CancelPreview();
      result = 0;
      return true;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      result = reinterpret_cast<INT_PTR>(whiteBrush_);
      return true;
  }
  return false;
}

// Build Now: the build runs inside this handler; the bar and the status line only show while
// it does.
void MainDialog::BuildNow() {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  BuildInstaller(*this);
  HideProgress();
  SetCursor(previous);
}

void MainDialog::HideProgress() {
  ShowItem(IDC_BUILD_PROGRESS, false);
  ShowItem(IDT_BUILD_STATUS, false);
}

// The build names the pages as the main window numbers them.
static_assert(static_cast<int>(ProjectTab::kWallpaper) == 0 &&
              static_cast<int>(ProjectTab::kPreviewWindow) == 1 &&
              static_cast<int>(ProjectTab::kSettingsWindow) == 2 &&
              static_cast<int>(ProjectTab::kInstaller) == 3);

ProjectTabs& MainDialog::Tabs() {
  resolvedTabs_.SetFolder(ProjectFolder());
  return resolvedTabs_;
}

int MainDialog::ValidateTab(ProjectTab tab) { return PageAt(static_cast<int>(tab)).Validate(); }

void MainDialog::ShowTab(ProjectTab tab) { SwitchTo(static_cast<int>(tab), true, false); }

// The bar's class is comctl32's, which the first window does without: the first build makes the
// bar in place of the template's stand-in, with its id and its place among the controls.
HWND MainDialog::ProgressBar() {
  HWND standIn = Item(IDC_BUILD_PROGRESS);
  if (progressMade_) return standIn;
  progressMade_ = true;
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  RECT at = ItemRect(IDC_BUILD_PROGRESS);
  HWND bar = CreateWindowExA(WS_EX_NOPARENTNOTIFY, PROGRESS_CLASSA, "", WS_CHILD, at.left, at.top,
                             at.right - at.left, at.bottom - at.top, Handle(),
                             reinterpret_cast<HMENU>(IDC_BUILD_PROGRESS),
                             GetModuleHandleA(nullptr), nullptr);
  if (!bar) return standIn;
  SetWindowPos(bar, standIn, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  DestroyWindow(standIn);
  SendMessageA(bar, PBM_SETBKCOLOR, 0, RGB(226, 237, 240));
  return bar;
}

void MainDialog::SetProgressRange(int low, int high) {
  SendMessageA(ProgressBar(), PBM_SETRANGE32, low, high);
  SendMessageA(ProgressBar(), PBM_SETPOS, low, 0);
}

void MainDialog::SetProgressStep(int step) { SendMessageA(ProgressBar(), PBM_SETSTEP, step, 0); }

void MainDialog::StepProgress() { SendMessageA(ProgressBar(), PBM_STEPIT, 0, 0); }

void MainDialog::ShowProgress() {
  ShowWindow(ProgressBar(), SW_SHOW);
  ShowItem(IDT_BUILD_STATUS, true);
}

void MainDialog::SetStatus(const std::string& text) {
  SetItemText(IDT_BUILD_STATUS, text);
  UpdateWindow(Item(IDT_BUILD_STATUS));
}

std::string MainDialog::FlashControlFile() {
  return LocateFlashControl(MachineFlashControlFolders());
}

bool MainDialog::GetWallpaper(WallpaperSettings& record) {
  record = wallpaperTab_.Get();
  return true;
}

bool MainDialog::GetPreview(PreviewSettings& record) {
  MakePage(kPreviewWindowPage);
  record = previewWindowTab_.Get();
  return true;
}

bool MainDialog::GetSettingsBox(SettingsBoxSettings& record) {
  MakePage(kSettingsWindowPage);
  record = settingsWindowTab_.Get();
  return true;
}

bool MainDialog::GetInstaller(InstallerSettings& record) {
  MakePage(kInstallerPage);
  installerTab_.Get(record);
  return true;
}

bool MainDialog::SetWallpaper(const WallpaperSettings& record) {
  wallpaperTab_.Set(record);
  return true;
}

bool MainDialog::SetPreview(const PreviewSettings& record) {
  if (previewWindowTab_.Handle())
    previewWindowTab_.Set(record);
  else
    pendingPreview_ = record;
  return true;
}

bool MainDialog::SetSettingsBox(const SettingsBoxSettings& record) {
  if (settingsWindowTab_.Handle())
    settingsWindowTab_.Set(record);
  else
    pendingSettingsBox_ = record;
  return true;
}

bool MainDialog::SetInstaller(const InstallerSettings& record) {
  if (installerTab_.Handle())
    installerTab_.Set(record);
  else
    pendingInstaller_ = record;
  return true;
}

}  // namespace zarvane
