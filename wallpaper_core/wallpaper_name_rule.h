#pragma once
// The wallpaper name becomes a folder under the shared wallpaper directory, a page beside it and
// a subkey of the system's uninstall key; resource files keep their bare names beside the page.
// A name that would address those shared places themselves, escape them, or open a device is
// refused before anything is touched.
#include <string>

namespace zarvane {

// Refused: empty; only dots and blanks (".", "..", "...": Windows drops trailing dots and
// blanks, so these all name the wallpaper directory or its parent); a trailing dot or blank
// ("Demo." is the folder and page of "Demo"); any "\", "/" or ":"; a device name ("con",
// "nul .txt").
bool IsUsableWallpaperName(const std::string& name);

}  // namespace zarvane
