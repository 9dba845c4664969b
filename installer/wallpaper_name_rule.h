#pragma once
// The wallpaper name becomes a folder under the shared wallpaper directory and a subkey of the
// system's uninstall key. A name that would address those shared places themselves, or escape
// them, is refused before anything is touched.
#include <string>

namespace zarvane {

// Refused: empty; only dots and blanks (".", "..", "...": Windows drops trailing dots and
// blanks, so these all name the wallpaper directory or its parent); any "\", "/" or ":".
bool IsUsableWallpaperName(const std::string& name);

}  // namespace zarvane
