#include "file_system.h"
#include "install_folder_rule.h"

namespace zarvane {

bool SharesWindowsFolders(const std::string& folder, const std::string& windowsFolder) {
  FolderIdentity windows, wallpaper, at;
  if (!NearestFolderIdentity(windowsFolder, windows) || windows.missing) return false;
  if (!NearestFolderIdentity(folder, at)) return false;
  if (!at.missing && SameIdentity(at, windows)) return true;
  // Not made yet: then nothing can lie below it.
  if (!NearestFolderIdentity(windows.folder + "\\Web\\WallPaper", wallpaper) || wallpaper.missing)
    return false;
  // Up through every folder of the path that exists: a mapped drive letter may be any of them.
  for (FolderIdentity parent; !SameIdentity(at, wallpaper); at = parent) {
    if (!NearestFolderIdentity(at.folder + "\\..", parent) || SameIdentity(parent, at))
      return false;
  }
  return true;
}

}  // namespace zarvane
