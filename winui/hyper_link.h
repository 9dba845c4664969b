#pragma once
// A static text control that opens its URL when clicked: blue and underlined, purple once
// opened, a hand over it and the URL as its tooltip. A failed opening beeps and says why.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace zarvane {

class HyperLink {
 public:
  static constexpr COLORREF kLinkColour = RGB(0, 0, 238);
  static constexpr COLORREF kVisitedColour = RGB(85, 26, 139);
  static constexpr int kHandCursor = 110;

  HyperLink() = default;
  ~HyperLink();
  HyperLink(const HyperLink&) = delete;
  HyperLink& operator=(const HyperLink&) = delete;

  // Takes over the dialog's static control `id`. An empty URL is taken from the control's text;
  // an empty text shows the URL.
  bool Attach(HWND dialog, int id);
  void SetUrl(const std::string& url);
  const std::string& Url() const { return url_; }
  bool Visited() const { return visited_; }
  HWND Handle() const { return window_; }

  // ShellExecuteA "open" on the fixed-up URL, falling back to the command line registered for
  // .htm files; gives the shell's (or WinExec's) result, above 32 for success.
  static int OpenUrl(const std::string& url, int show);
  // Beeps and shows why opening failed, owned by `owner`.
  static void ReportError(HWND owner, int result);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void AdjustToText();
  void Paint();
  void Click();
  std::string Text() const;
  TOOLINFOA Tool() const;
  HFONT UnderlinedFont();

  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  WNDPROC staticProcedure_ = nullptr;
  std::string url_;
  bool visited_ = false;
  int inkRoom_ = 0;  // pixels right of the text, see AdjustToText
  HFONT underlinedFont_ = nullptr;
};

}  // namespace zarvane
