#include "movie_pane.h"

#include "dpi.h"
#include "installer_resources.h"

namespace zarvane {
namespace {

const char kPaneClass[] = "ZarvaneMoviePane";

// One class for the process; its brush lives as long as the process does.
bool RegisterPaneClass(WNDPROC procedure) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  wc.lpszClassName = kPaneClass;
  registered = RegisterClassA(&wc) != 0;
  return registered;
}

}  // namespace

MoviePane::MoviePane() { RegisterPaneClass(&MoviePane::WindowProcedure); }

MoviePane::~MoviePane() { Destroy(); }

bool MoviePane::CreateFromFile(int type, const std::string& file, const RECT& rect, HWND parent,
                               int id) {
  type_ = type;
  file_ = file;
  return Create(rect, parent, id);
}

bool MoviePane::CreateFromResource(int resourceId, const RECT& rect, HWND parent, int id) {
  type_ = 0;
  file_.clear();
  resourceId_ = resourceId;
  return Create(rect, parent, id);
}

bool MoviePane::Create(const RECT& rect, HWND parent, int id) {
  Destroy();
  window_ = CreateWindowExA(0, kPaneClass, nullptr, WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleA(nullptr), this);
  return window_ != nullptr;
}

void MoviePane::Destroy() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

bool MoviePane::OnCreate() {
  if (type_ == 0) {
    if (bitmap_) DeleteObject(bitmap_);
    if (file_.empty())
      bitmap_ = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                MAKEINTRESOURCEA(resourceId_), IMAGE_BITMAP, 0,
                                                0, LR_DEFAULTSIZE));
    else
      bitmap_ = static_cast<HBITMAP>(LoadImageA(nullptr, file_.c_str(), IMAGE_BITMAP, 0, 0,
                                                LR_DEFAULTSIZE | LR_LOADFROMFILE));
    return bitmap_ != nullptr;
  }
  if (type_ == 1) {
    RECT client;
    GetClientRect(window_, &client);
    control_ = new CShockwaveFlash;
    if (control_->Create(window_, client, IDC_FLASH_CONTROL)) {
      control_->SetMenu(false);
      control_->SetMovie(file_);
      control_->Play();
    } else {
      // The control is missing or unregistered: the pane stays empty.
      delete control_;
      control_ = nullptr;
    }
  }
  return true;
}

void MoviePane::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  if (type_ == 0 && bitmap_) {
    RECT client;
    GetClientRect(window_, &client);
    BITMAP info;
    GetObjectA(bitmap_, sizeof info, &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap_);
    // At 96 DPI the pane is the picture's size give or take a few pixels; at larger ones
    // stretching pixel by pixel would show, so GDI averages (HALFTONE, Windows NT and later).
    if (DpiOf(window_) != kBaseDpi && SetStretchBltMode(dc, HALFTONE))
      SetBrushOrgEx(dc, 0, 0, nullptr);
    else
      SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  EndPaint(window_, &paint);
}

void MoviePane::OnDestroy() {
  if (control_) {
    control_->Destroy();
    delete control_;
    control_ = nullptr;
  }
  if (bitmap_) {
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
  }
}

LRESULT CALLBACK MoviePane::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  auto* pane = reinterpret_cast<MoviePane*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      pane = static_cast<MoviePane*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pane));
      pane->window_ = window;
      break;
    case WM_CREATE:
      return pane && pane->OnCreate() ? 0 : -1;
    case WM_PAINT:
      if (pane) {
        pane->OnPaint();
        return 0;
      }
      break;
    case WM_DESTROY:
      if (pane) pane->OnDestroy();
      break;
    case WM_NCDESTROY:
      if (pane) pane->window_ = nullptr;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zarvane
