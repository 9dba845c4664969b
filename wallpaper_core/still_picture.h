#pragma once
// The still picture that stands for the wallpaper on desktops that show no page: what the page
// shows beneath the movie (colour and background image placed by the position word), at the
// screen's size, as a 24-bit BMP file's bytes.
#include <string>

#include "image_wallpaper.h"
#include "wallpaper_words.h"

namespace zarvane {

// `background` may be empty (width 0): colour only. Positions as the page's background-position:
// "Tile" repeats from the top left, "Stretch" fills the screen, the corner and edge words place
// one copy there, every other word centres it; what lies beyond the screen is cut off.
Picture ComposeStillPicture(Colour colour, const Picture& background, const std::string& position,
                            int width, int height);

// A bottom-up 24-bit BMP with rows padded to 4 bytes.
std::string EncodeBmp24(const Picture& picture);

// The desktop's WallpaperStyle and TileWallpaper for a position word.
struct WallpaperStyleValues {
  const char* style;
  const char* tile;
};
WallpaperStyleValues StyleForPosition(const std::string& position);
// For the still picture itself: a frame photographed from the movie holds the tiled background
// already and is composed at the screen's size, so it is one picture, stretched where the
// project stretches and never tiled again; a project's own picture follows its position.
WallpaperStyleValues StyleForStill(const std::string& position, bool movieFrame);

}  // namespace zarvane
