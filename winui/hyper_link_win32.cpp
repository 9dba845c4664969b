#include "hyper_link.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "hyper_link_rules.h"

namespace zarvane {

namespace {

const char kSelfProperty[] = "ZarvaneHyperLink";

// Message boxes of the program carry its name, as the application's own boxes do.
std::string ProgramName() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

// The default value of a key under HKEY_CLASSES_ROOT; false when it cannot be read.
bool ClassesText(const std::string& key, std::string& value) {
  char buffer[520] = "";
  LONG size = sizeof buffer;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), buffer, &size) != ERROR_SUCCESS) return false;
  buffer[sizeof buffer - 1] = '\0';
  value = buffer;
  return true;
}

}  // namespace

HyperLink::~HyperLink() {
  if (tooltip_) DestroyWindow(tooltip_);
  if (window_) {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProcedure_));
    RemovePropA(window_, kSelfProperty);
  }
  if (underlinedFont_) DeleteObject(underlinedFont_);
}

bool HyperLink::Attach(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control || window_) return false;
  window_ = control;
  // Statics let clicks through to their parent unless they notify.
  SetWindowLongA(window_, GWL_STYLE, GetWindowLongA(window_, GWL_STYLE) | SS_NOTIFY);
  SetPropA(window_, kSelfProperty, this);
  staticProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HyperLink::Procedure)));

  std::string text = Text();
  if (url_.empty()) url_ = text;
  if (text.empty()) SetWindowTextA(window_, url_.c_str());
  AdjustToText();

  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  if (tooltip_) {
    TOOLINFOA tool = Tool();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return true;
}

TOOLINFOA HyperLink::Tool() const {
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the common controls
  tool.hwnd = window_;
  tool.uId = 1;
  GetClientRect(window_, &tool.rect);
  tool.lpszText = const_cast<char*>(url_.c_str());
  return tool;
}

void HyperLink::SetUrl(const std::string& url) {
  url_ = url;
  if (!window_) return;
  AdjustToText();
  if (tooltip_) {
    TOOLINFOA tool = Tool();
    SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

std::string HyperLink::Text() const {
  int length = GetWindowTextLengthA(window_);
  if (length <= 0) return std::string();
  std::vector<char> buffer(length + 1, 0);
  int got = GetWindowTextA(window_, buffer.data(), length + 1);
  return std::string(buffer.data(), got > 0 ? got : 0);
}

void HyperLink::AdjustToText() {
  std::string text = Text();
  HDC dc = GetDC(window_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0)));
  SIZE size = {0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window_, dc);

  RECT rect;
  GetWindowRect(window_, &rect);
  MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&rect), 2);
  rect.right -= inkRoom_;
  LONG style = GetWindowLongA(window_, GWL_STYLE);
  if (style & SS_CENTERIMAGE) {
    rect.top += (rect.bottom - rect.top - size.cy) / 2;
    rect.bottom = rect.top + size.cy;
  } else {
    rect.bottom = rect.top + size.cy;
  }
  switch (style & SS_TYPEMASK) {
    case SS_CENTER:
      rect.left += (rect.right - rect.left - size.cx) / 2;
      rect.right = rect.left + size.cx;
      break;
    case SS_RIGHT:
      rect.left = rect.right - size.cx;
      break;
    default:
      rect.right = rect.left + size.cx;
  }
  // The last letter's ink may reach a pixel or two past the text's advance (hinted glyphs), and
  // a window exactly as wide as the text would cut it off.
  inkRoom_ = metrics.tmAveCharWidth / 2;
  rect.right += inkRoom_;
  SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT HyperLink::UnderlinedFont() {
  if (!underlinedFont_) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    GetObjectA(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfUnderline = TRUE;
    underlinedFont_ = CreateFontIndirectA(&description);
  }
  return underlinedFont_;
}

void HyperLink::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  HGDIOBJ old = SelectObject(dc, UnderlinedFont());
  SetTextColor(dc, visited_ ? kVisitedColour : kLinkColour);
  SetBkMode(dc, TRANSPARENT);
  // The window is fitted to the text, so the text starts at its left edge whatever the
  // alignment; "&" is measured as a letter and drawn as one.
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_VCENTER;
  RECT client;
  GetClientRect(window_, &client);
  std::string text = Text();
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client, format);
  SelectObject(dc, old);
  EndPaint(window_, &paint);
}

void HyperLink::Click() {
  int result = OpenUrl(url_, SW_SHOW);
  if (result > 32) {
    visited_ = true;
    // Hollow: the dialog paints the ground again before the text is drawn in its new colour.
    RECT rect;
    GetWindowRect(window_, &rect);
    HWND parent = GetParent(window_);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    RedrawWindow(parent, &rect, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  } else {
    ReportError(GetParent(window_), result);
  }
}

int HyperLink::OpenUrl(const std::string& url, int show) {
  std::string target = FixUpUrl(url);
  int result = static_cast<int>(reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, show)));
  if (result > 32) return result;
  std::string fileType, command;
  if (!ClassesText(".htm", fileType) ||
      !ClassesText(fileType + "\\shell\\open\\command", command))
    return result;
  return static_cast<int>(WinExec(BrowserCommandLine(command, target).c_str(), show));
}

void HyperLink::ReportError(HWND owner, int result) {
  MessageBeep(MB_ICONEXCLAMATION);
  MessageBoxA(owner, OpenFailureMessage(result).c_str(), ProgramName().c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

LRESULT CALLBACK HyperLink::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<HyperLink*>(GetPropA(window, kSelfProperty));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  return self->Dispatch(message, wParam, lParam);
}

LRESULT HyperLink::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  if (tooltip_ && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    MSG relayed = {window_, message, wParam, lParam, 0, {0, 0}};
    SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  }
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_SETCURSOR: {
      HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kHandCursor));
      SetCursor(hand ? hand : LoadCursorA(nullptr, IDC_HAND));
      return TRUE;
    }
    case WM_LBUTTONDOWN: {
      LRESULT result = CallWindowProcA(staticProcedure_, window_, message, wParam, lParam);
      Click();
      return result;
    }
    case WM_NCDESTROY: {
      HWND window = window_;
      WNDPROC original = staticProcedure_;
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      RemovePropA(window, kSelfProperty);
      window_ = nullptr;
      tooltip_ = nullptr;  // owned by the dialog, gone with it
      return CallWindowProcA(original, window, message, wParam, lParam);
    }
  }
  return CallWindowProcA(staticProcedure_, window_, message, wParam, lParam);
}

}  // namespace zarvane
