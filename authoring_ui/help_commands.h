#pragma once
// The Help menu's commands. A help page that cannot be opened is reported with its path, so
// that the author can open it by hand.
#include <windows.h>

#include <string>

namespace zarvane {

// <program folder>Help\<page>
std::string HelpPagePath(const std::string& page);
// Help\index.htm.
void ShowHelpContents(HWND owner);
// The support page and the products page of the help, until there is a web site.
void OpenSupportSite(HWND owner);
void OpenMoreProducts(HWND owner);
// The about box, modal over `owner`.
void ShowAboutBox(HWND owner);

}  // namespace zarvane
