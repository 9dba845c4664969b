#pragma once
// The tips the main window shows for the focused control, as data. Portable.
#include <string>

namespace zarvane {

// Focus notifications of the three kinds of control that have tips.
enum : int { kComboSetFocus = 3, kButtonSetFocus = 6, kEditSetFocus = 256 };

struct TipRow {
  int controlId;  // 0 ends a table
  const char* title;
  const char* tip;
  int notifyCode;
};

// Every row whose control id and code match is applied in turn, so the last one wins; false
// when no row matches. Control ids repeat across pages; the code tells them apart.
bool LookUpTip(const TipRow* rows, int controlId, int notifyCode, std::string& title,
               std::string& text);

// The same over the authoring tool's own table.
bool LookUpTip(int controlId, int notifyCode, std::string& title, std::string& text);

}  // namespace zarvane
