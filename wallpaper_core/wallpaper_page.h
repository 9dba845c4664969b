#pragma once
// The wallpaper page: an HTML file with a background layer and a transparent Flash movie layer.
// Built here as text, byte for byte; DesktopWallpaper::WritePage puts it on disk.
#include <string>

#include "wallpaper_words.h"

namespace zarvane {

struct WallpaperPageFields {
  std::string name;              // the page's files lie in the folder of this name
  std::string movieSource;       // only the last path component of each source is used
  std::string imageSource;
  std::string backgroundSource;
  Colour backgroundColour = 0xFFFFFF;
  std::string quality, loop, hAlign, vAlign, backgroundPosition, scale;
};

// CR LF line ends, no line end after the last line.
std::string WallpaperPageText(const WallpaperPageFields& fields);

}  // namespace zarvane
