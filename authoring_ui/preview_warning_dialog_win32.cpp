#include "preview_warning_dialog.h"

#include "dpi.h"
#include "help_ids.h"
#include "picture.h"
#include "picture_ids.h"

namespace zarvane {

namespace {
const char kPrevWarn[] = "PrevWarn";
}

PreviewWarningDialog::PreviewWarningDialog(ToolSettings& settings)
    : Dialog(IDD_PREVIEW_WARNING), settings_(settings) {}

PreviewWarningDialog::~PreviewWarningDialog() {
  if (white_) DeleteObject(white_);
  if (picture_) DeleteObject(picture_);
}

bool PreviewWarningDialog::OnInit() {
  int notAgain = settings_.ReadNumber(kPrevWarn, 0);
  SetChecked(IDX_PREVIEW_WARNING_NOT_AGAIN, notAgain != 0);
  if (notAgain == 1) {
    End(IDCANCEL);  // before the dialog is ever shown
    return true;
  }
  white_ = CreateSolidBrush(RGB(255, 255, 255));
  picture_ = LoadPictureForDpi(IDB_PREVIEW_WARNING_PICTURE, DpiOf(Handle()));
  return true;
}

void PreviewWarningDialog::OnOk() {
  settings_.WriteNumber(kPrevWarn, IsChecked(IDX_PREVIEW_WARNING_NOT_AGAIN) ? 1 : 0);
  End(IDOK);
}

bool PreviewWarningDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                     INT_PTR& result) {
  if (message == WM_ERASEBKGND && white_) {
    RECT client;
    GetClientRect(Handle(), &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
    PaintFrame(reinterpret_cast<HDC>(wParam));
    result = TRUE;
    return true;
  }
  if (message == WM_CTLCOLORSTATIC && white_ &&
      reinterpret_cast<HWND>(lParam) == Item(IDT_PREVIEW_WARNING_TEXT)) {
    SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
    result = reinterpret_cast<INT_PTR>(white_);
    return true;
  }
  return false;
}

// The white frame, with the picture across its top edge at the picture's own height.
void PreviewWarningDialog::PaintFrame(HDC dc) {
  RECT frame = ItemRect(IDC_PREVIEW_WARNING_FRAME);
  FillRect(dc, &frame, white_);
  BITMAP size;
  if (!picture_ || !GetObjectA(picture_, sizeof size, &size)) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, picture_);
  StretchBlt(dc, frame.left, frame.top, frame.right - frame.left, size.bmHeight, memory, 0, 0,
             size.bmWidth, size.bmHeight, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

}  // namespace zarvane
