#pragma once
#include <windows.h>

#include <string>

namespace zarvane {

// The shell's folder chooser rooted at the desktop, file-system folders only. Gives false on
// Cancel or when the choice has no file-system path; `path` is then unchanged.
bool BrowseForFolder(HWND owner, const std::string& title, std::string& path);

}  // namespace zarvane
