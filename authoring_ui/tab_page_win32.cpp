#include "tab_page.h"

#include <commdlg.h>

#include "choosers.h"
#include "dpi.h"
#include "picture.h"
#include "tab_ids.h"

namespace zarvane {
namespace {

int ControlOf(TabField field) {
  switch (field) {
    case TabField::kMovieFile: return IDE_MOVIE_FILE;
    case TabField::kBackgroundImage: return IDE_BACKGROUND_IMAGE;
    case TabField::kStillImage: return IDE_STILL_IMAGE;
    case TabField::kName: return IDE_WALLPAPER_NAME;
    case TabField::kPreviewImage: return IDE_PREVIEW_IMAGE;
    case TabField::kSettingsPicture: return IDE_SETTINGS_PICTURE;
    case TabField::kInstallerPath: return IDE_INSTALLER_PATH;
    case TabField::kInstallerPicture: return IDE_INSTALLER_PICTURE;
    case TabField::kLicence: return IDE_LICENCE;
    case TabField::kNone: break;
  }
  return 0;
}

}  // namespace

void TabPage::ShowPage(bool focus, int field) {
  ShowWindow(Handle(), SW_SHOW);
  if (focus) SetFocus(Item(field));
}

int TabPage::Report(const TabVerdict& verdict) {
  if (verdict.message) FocusAndSelect(ControlOf(verdict.field));
  return verdict.message;
}

void TabPage::TakePath(int id, const std::string& path) {
  SetItemText(id, path);
  FocusAndSelect(id);
}

bool TabPage::ChooseExistingFile(const char* filter, const char* defaultExtension,
                                 std::string& path) {
  FileRequest request;
  request.filter = filter;
  request.defaultExtension = defaultExtension;
  request.options = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  return ActiveChoosers().OpenFile(Owner(), request, path);
}

void TabPage::ShowError(const std::string& text) {
  MessageBoxA(Owner(), text.c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
}

void TabPage::AttachPictureButton(BitmapButton& button, int id, int picture) {
  button.Attach(Handle(), id, BitmapButton::kPush, picture, picture + 1, picture + 2, picture + 3);
  // The picture is copied 1:1 (at the page's DPI) to the button's corner; dialog units rarely
  // give its exact size.
  HBITMAP bitmap = LoadPicture(picture);
  BITMAP size;
  if (bitmap && GetObjectA(bitmap, sizeof size, &size)) {
    const int dpi = DpiOf(Handle());
    RECT at = ItemRect(id);
    MoveItem(id, at.left, at.top, DpiScale(dpi, size.bmWidth), DpiScale(dpi, size.bmHeight));
  }
  if (bitmap) DeleteObject(bitmap);
}

void TabPage::LimitText(int id, int characters) {
  SendDlgItemMessageA(Handle(), id, EM_LIMITTEXT, characters, 0);
}

void TabPage::SetTextIfChanged(int id, const std::string& text) {
  if (ItemText(id) != text) SetItemText(id, text);
}

void TabPage::FillList(int id, const std::vector<std::string>& items) {
  for (const std::string& item : items)
    SendDlgItemMessageA(Handle(), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int TabPage::Selection(int id) const {
  return static_cast<int>(SendDlgItemMessageA(Handle(), id, CB_GETCURSEL, 0, 0));
}

void TabPage::Select(int id, int row) { SendDlgItemMessageA(Handle(), id, CB_SETCURSEL, row, 0); }

void TabPage::EnableItems(std::initializer_list<int> ids, bool enable) {
  for (int id : ids) EnableItem(id, enable);
}

bool TabPage::OnCommand(int id, int notifyCode) {
  // The control's window is the lParam the page received (none for menu commands).
  SendMessageA(GetParent(Handle()), kForwardedCommand, MAKEWPARAM(id, notifyCode),
               reinterpret_cast<LPARAM>(Item(id)));
  OnPageCommand(id, notifyCode);
  return true;
}

bool TabPage::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
    result = reinterpret_cast<INT_PTR>(white);
    return true;
  }
  if (message == WM_ERASEBKGND) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, white);
    PaintBackground(dc);
    result = TRUE;
    return true;
  }
  return false;
}

}  // namespace zarvane
