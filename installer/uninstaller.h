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

// True when the Uninstall.ini at `ini` records an installation of the wallpaper `name`.
bool RecordNamesWallpaper(const std::string& ini, const std::string& name);

// A value of the record's section; empty when missing.
std::string RecordValue(const std::string& ini, const char* key);

// True when the record's resource list names `item` (letter case aside).
bool RecordListsResource(const std::string& ini, const std::string& item);

// True when `item` beside the pages is one: "<x>.htm" with a wallpaper folder <x> beside it.
bool IsWallpaperPage(const std::string& wallpaperDir, const std::string& item);

// The Uninstall.ini of every wallpaper whose entry the list of installed programs holds.
std::vector<std::string> InstalledRecords();

// The folder (with its backslash) whose Uninstall.exe the uninstall entry of `name` runs, when
// that folder's Uninstall.ini records this wallpaper: the entry is then one of ours. Empty when
// there is no entry; `foreign` tells an entry of another program from none.
std::string OwnEntryFolder(const std::string& name, bool& foreign);

// Both name the same folder, whatever their letter case, short names, "." and ".." or final
// backslash; folders that exist by their identity, so drive letters mapped onto them too.
bool SameFolder(const std::string& a, const std::string& b);

// The path as the system resolves it: whole, with long names where the folders exist.
std::string ResolvedPath(const std::string& path);

}  // namespace zarvane
