#pragma once
// The few picture formats the command-line tool converts between: the browser's PNG shots, the
// installer's 24-bit BMP still pictures and the PNG thumbnails the live-wallpaper programs take.
#include <string>

#include "image_wallpaper.h"

namespace zarvane {

// An 8-bit RGB or RGBA PNG without interlacing, as Chromium writes its shots (alpha dropped).
// False with the reason in `error` for anything else.
bool DecodePng(const std::string& png, Picture& picture, std::string& error);

// An 8-bit RGB PNG.
std::string EncodePng(const Picture& picture);

// An uncompressed 24- or 32-bit BMP, rows either way up. False for anything else.
bool DecodeBmp(const std::string& bmp, Picture& picture);

}  // namespace zarvane
