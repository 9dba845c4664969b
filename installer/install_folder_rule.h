#pragma once
// Which folders may receive Uninstall.exe and Uninstall.ini. The uninstaller removes its own
// folder at the next restart and Replace empties the wallpaper folder, so a folder that Windows,
// other wallpapers or the whole drive share must never become an install folder.
#include <string>

namespace zarvane {

enum class InstallFolderVerdict {
  kUsable,
  kRelative,  // would depend on the current folder: "Space", "\Wall", "C:Wall"
  kShared,    // a drive's or share's root, the Windows folder, or the wallpaper directory or below
};

// `windowsFolder` is the Windows folder; both paths are compared after "." and ".." are
// resolved and the trailing dots and blanks that Windows drops are dropped.
InstallFolderVerdict JudgeInstallFolder(const std::string& folder,
                                        const std::string& windowsFolder);

#ifdef _WIN32
// The folder is the Windows folder, or is or lies below its wallpaper directory, told by the
// identity of the folders that exist, so also where its text hides it: short names, a drive
// letter mapped onto one of them. False where identities cannot be told (the Windows 9x family):
// JudgeInstallFolder's text rule stands alone there.
bool SharesWindowsFolders(const std::string& folder, const std::string& windowsFolder);
#endif

// "C:\A\B" for "c:/a/./x/../B. " in its own letter case; empty when `path` is relative.
std::string NormalizedFullPath(const std::string& path);

}  // namespace zarvane
