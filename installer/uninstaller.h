#pragma once
// Uninstall mode: the installer program started under the name Uninstall.exe.
#include <string>
#include <vector>

#include "run_log.h"
#include "user_prompt.h"

namespace zarvane {

// True when the program's own file is named Uninstall.exe (any letter case).
bool IsUninstallerProgram();

// Removes the wallpaper that the Uninstall.ini beside the program names, after the question
// (silent mode takes it as Yes); gives the exit code. `prompt` shows what the user sees.
int RunUninstaller(UserPrompt& prompt, RunLog& log);

// Has each path removed at the next system start: WinInit.ini's [rename] section on the
// Windows 9x family, MoveFileExA elsewhere. False when WinInit.ini cannot be rewritten.
bool ScheduleDeletionAtRestart(const std::vector<std::string>& paths);

// The uninstall key of all programs, relative to HKEY_LOCAL_MACHINE.
extern const char kUninstallRoot[];

}  // namespace zarvane
