#pragma once
// A page of the main window: a frameless child dialog that paints white, hands every command to
// the main window (kForwardedCommand, same wParam and lParam) before handling it itself, and can
// be shown and checked.
#include "dialog.h"

namespace zarvane {

constexpr UINT kForwardedCommand = WM_USER + 1;

class TabPage : public Dialog {
 public:
  using Dialog::Dialog;
  // Shows the page; with `focus` its first field gets the keyboard focus.
  virtual void Show(bool focus) = 0;
  // 0, or the number of the message at fault; the field at fault then has the focus with its
  // text selected.
  virtual int Validate() = 0;
};

}  // namespace zarvane
