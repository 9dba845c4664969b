#pragma once
// A static control that explains the focused control: a title, a word-wrapped text and a
// small picture in a white box with a light orange border.
#include <windows.h>

#include <string>

namespace zarvane {

class TipPanel {
 public:
  TipPanel() = default;
  ~TipPanel();
  TipPanel(const TipPanel&) = delete;
  TipPanel& operator=(const TipPanel&) = delete;

  bool Attach(HWND dialog, int id, int pictureId);  // a static control of the template
  // Repaints at once; the window text becomes title + "\n" + text.
  void SetTip(const std::string& title, const std::string& text);

 private:
  static LRESULT Subclass(void* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc);
  void Detach();

  HWND window_ = nullptr;
  HBITMAP picture_ = nullptr;
  HFONT titleFont_ = nullptr;
  HFONT textFont_ = nullptr;
  std::string title_;
  std::string text_;
};

}  // namespace zarvane
