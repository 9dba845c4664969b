#include "bitmap_button.h"

#include <mmsystem.h>

#include <algorithm>

#include "dpi.h"
#include "picture.h"
#include "window_subclass.h"

namespace zarvane {

namespace {

bool PointerInside(HWND window) {
  POINT p;
  RECT r;
  GetCursorPos(&p);
  GetWindowRect(window, &r);
  return PtInRect(&r, p) != FALSE;
}

}  // namespace

BitmapButton::~BitmapButton() {
  Detach();
  for (HBITMAP& picture : pictures_)
    if (picture) DeleteObject(picture);
}

bool BitmapButton::Attach(HWND dialog, int id, Mode mode, int normal, int hover, int latched,
                          int disabled) {
  HWND window = GetDlgItem(dialog, id);
  if (!window || window_) return false;
  if (!AttachSubclass(window, Subclass, this)) return false;
  window_ = window;
  mode_ = mode;
  const int ids[kPictureCount] = {normal, hover, latched, disabled};
  std::copy(ids, ids + kPictureCount, pictureIds_);
  Repaint();
  return true;
}

void BitmapButton::SetLatched(bool latched) {
  latched_ = latched;
  hover_ = false;
  Repaint();
}

void BitmapButton::Detach() {
  if (!window_) return;
  KillTimer(window_, kHoverTimer);
  DetachSubclass(window_);
  window_ = nullptr;
}

LRESULT BitmapButton::Subclass(void* self, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
  BitmapButton* button = reinterpret_cast<BitmapButton*>(self);
  if (message == WM_NCDESTROY) {
    button->Detach();
    return CallOriginal(window, message, wParam, lParam);
  }
  return button->Receive(message, wParam, lParam);
}

LRESULT BitmapButton::Receive(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      Paint(BeginPaint(window, &ps));
      EndPaint(window, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint covers every pixel
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A quick second click is a click like the first, not a double click to be ignored.
      OnButtonDown();
      return CallOriginal(window, WM_LBUTTONDOWN, wParam, lParam);
    case WM_LBUTTONUP: {
      // The button's own click comes from the default handling below, and only when released
      // inside; the latching modes answer a release anywhere.
      const bool pressedHere = GetCapture() == window;
      LRESULT result = CallOriginal(window, message, wParam, lParam);
      if (window_) OnButtonUp(pressedHere, lParam);
      return result;
    }
    case WM_MOUSEMOVE:
      OnMouseMove();
      break;
    case WM_TIMER:
      if (wParam == kHoverTimer) {
        OnHoverTick();
        return 0;
      }
      break;
    case WM_ENABLE:
    case BM_SETSTATE: {
      LRESULT result = CallOriginal(window, message, wParam, lParam);
      Repaint();
      return result;
    }
  }
  return CallOriginal(window, message, wParam, lParam);
}

void BitmapButton::OnButtonDown() {
  latched_ = mode_ == kToggle ? !latched_ : true;
  if (mode_ != kPush)
    PlaySoundA(MAKEINTRESOURCEA(kClickSound), GetModuleHandleA(nullptr),
               SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
  Repaint();
}

void BitmapButton::OnButtonUp(bool pressedHere, LPARAM releasePoint) {
  if (mode_ == kPush) {
    latched_ = false;
    Repaint();
    return;
  }
  if (!pressedHere) return;
  RECT client;
  GetClientRect(window_, &client);
  POINT p = {static_cast<short>(LOWORD(releasePoint)), static_cast<short>(HIWORD(releasePoint))};
  if (!PtInRect(&client, p))
    SendMessageA(GetParent(window_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window_));
}

void BitmapButton::OnMouseMove() {
  if (latched_ || hover_) return;
  hover_ = true;
  SetTimer(window_, kHoverTimer, 200, nullptr);
  Repaint();
}

void BitmapButton::OnHoverTick() {
  if (latched_ && mode_ != kPush) {
    KillTimer(window_, kHoverTimer);
    return;
  }
  if (PointerInside(window_)) return;
  hover_ = false;
  if (mode_ == kPush) latched_ = false;
  KillTimer(window_, kHoverTimer);
  Repaint();
}

void BitmapButton::Paint(HDC dc) {
  const bool pressed = (SendMessageA(window_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  Picture chosen = kNormal;
  if (hover_ || (mode_ == kPush && pressed && !latched_))
    chosen = kHover;
  else if (latched_)
    chosen = kLatched;
  else if (!IsWindowEnabled(window_))
    chosen = kDisabled;

  RECT client;
  GetClientRect(window_, &client);
  HBRUSH background = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(window_), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(window_)));
  FillRect(dc, &client, background ? background : GetSysColorBrush(COLOR_BTNFACE));

  HBITMAP picture = PictureFor(chosen);
  BITMAP size;
  if (!picture || !GetObjectA(picture, sizeof size, &size)) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, picture);
  BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

HBITMAP BitmapButton::PictureFor(Picture picture) {
  if (!pictures_[picture] && pictureIds_[picture])
    pictures_[picture] = LoadPictureForDpi(pictureIds_[picture], DpiOf(window_));
  return pictures_[picture];
}

void BitmapButton::Repaint() {
  if (!window_) return;
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

}  // namespace zarvane
