#include "tip_panel.h"


#include "dpi.h"
#include "picture.h"
#include "window_subclass.h"

namespace zarvane {

namespace {

const COLORREF kBorder = RGB(255, 177, 125);
const COLORREF kTitleColour = RGB(121, 172, 198);
const COLORREF kTextColour = RGB(128, 128, 128);

HFONT Arial(HWND window, int points, int weight) {
  HDC dc = GetDC(window);
  const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(window, dc);
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, "Arial");
}

}  // namespace

TipPanel::~TipPanel() {
  Detach();
  if (picture_) DeleteObject(picture_);
  if (titleFont_) DeleteObject(titleFont_);
  if (textFont_) DeleteObject(textFont_);
}

bool TipPanel::Attach(HWND dialog, int id, int pictureId) {
  HWND window = GetDlgItem(dialog, id);
  if (!window || window_) return false;
  if (!AttachSubclass(window, Subclass, this)) return false;
  window_ = window;
  picture_ = LoadPictureForDpi(pictureId, DpiOf(window));
  titleFont_ = Arial(window, 9, 800);
  textFont_ = Arial(window, 8, FW_NORMAL);
  InvalidateRect(window_, nullptr, TRUE);
  return true;
}

void TipPanel::SetTip(const std::string& title, const std::string& text) {
  title_ = title;
  text_ = text;
  if (!window_) return;
  // The window text carries the tip too, for anything that reads windows rather than pixels.
  SetWindowTextA(window_, (title + "\n" + text).c_str());
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

void TipPanel::Detach() {
  if (!window_) return;
  DetachSubclass(window_);
  window_ = nullptr;
}

LRESULT TipPanel::Subclass(void* self, HWND window, UINT message, WPARAM wParam,
                           LPARAM lParam) {
  TipPanel* panel = reinterpret_cast<TipPanel*>(self);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      panel->Paint(BeginPaint(window, &ps));
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      panel->Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint covers every pixel
    case WM_SETTEXT:
      // Only kept: the static's own handling would draw the text over the panel at once.
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_NCDESTROY:
      panel->Detach();
      break;
  }
  return CallOriginal(window, message, wParam, lParam);
}

void TipPanel::Paint(HDC dc) {
  RECT box;
  GetClientRect(window_, &box);
  FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HBRUSH border = CreateSolidBrush(kBorder);
  FrameRect(dc, &box, border);
  DeleteObject(border);

  const int dpi = DpiOf(window_);
  BITMAP size;
  if (picture_ && GetObjectA(picture_, sizeof size, &size)) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture_);
    BitBlt(dc, box.right - DpiScale(dpi, 39), box.bottom - DpiScale(dpi, 47), size.bmWidth, size.bmHeight, source, 0, 0,
           SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  }

  const int oldMode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, titleFont_);
  TEXTMETRICA metrics;
  GetTextMetricsA(dc, &metrics);
  RECT title = {2, 2, box.right - 2, 2 + metrics.tmHeight};
  SetTextColor(dc, kTitleColour);
  DrawTextA(dc, title_.c_str(), -1, &title, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);

  SelectObject(dc, textFont_);
  RECT text = {3, title.bottom + 2, box.right - 3, box.bottom - DpiScale(dpi, 44)};
  SetTextColor(dc, kTextColour);
  DrawTextA(dc, text_.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  SetBkMode(dc, oldMode);
}

}  // namespace zarvane
