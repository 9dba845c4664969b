#pragma once
// The install dialog's upper pane: a bitmap stretched over the whole pane, or the Shockwave
// Flash control playing a movie, or nothing.
#include <windows.h>

#include <string>

#include "activex_host.h"

namespace zarvane {

class MoviePane {
 public:
  MoviePane();
  ~MoviePane();
  MoviePane(const MoviePane&) = delete;
  MoviePane& operator=(const MoviePane&) = delete;

  // type: 0 picture, 1 movie, anything else an empty pane. False when the window could not be
  // made; a picture that cannot be loaded fails the creation.
  bool CreateFromFile(int type, const std::string& file, const RECT& rect, HWND parent, int id);
  bool CreateFromResource(int resourceId, const RECT& rect, HWND parent, int id);
  void Destroy();
  HWND Handle() const { return window_; }

 private:
  bool Create(const RECT& rect, HWND parent, int id);
  bool OnCreate();
  void OnPaint();
  void OnDestroy();
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  int type_ = 2;
  std::string file_;
  int resourceId_ = 0;
  HBITMAP bitmap_ = nullptr;
  CShockwaveFlash* control_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace zarvane
