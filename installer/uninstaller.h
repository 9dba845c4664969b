#pragma once
// Uninstall mode: the installer program started under the name Uninstall.exe.
#include <string>
#include <vector>

namespace zarvane {

// Runs the uninstaller when the program's own file is named Uninstall.exe (any letter case) and
// gives false; gives true, having done nothing, for any other name.
bool RunUninstallerUnlessInstalling();

// Has each path removed at the next system start: WinInit.ini's [rename] section on the
// Windows 9x family, MoveFileExA elsewhere. False when WinInit.ini cannot be rewritten.
bool ScheduleDeletionAtRestart(const std::vector<std::string>& paths);

// The uninstall key of all programs, relative to HKEY_LOCAL_MACHINE.
extern const char kUninstallRoot[];

}  // namespace zarvane
