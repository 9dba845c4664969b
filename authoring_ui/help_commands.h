#pragma once
// The Help menu's commands. Nothing is said when a page cannot be opened.
#include <windows.h>

namespace zarvane {

// The help pages beside the program: <program folder>Help\index.htm.
void ShowHelpContents();
void OpenSupportSite();
void OpenMoreProducts();
// The about box, modal over `owner`.
void ShowAboutBox(HWND owner);

}  // namespace zarvane
