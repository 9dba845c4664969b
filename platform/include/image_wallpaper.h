#pragma once
// The system's own image wallpaper (SystemParametersInfo and HKCU\Control Panel\Desktop), which
// every Windows shows; and what the still picture needs from the machine: its version, the
// screen's size and a picture file's pixels.
#include <cstdint>
#include <string>
#include <vector>

namespace zarvane {

// The desktop's image wallpaper and its two style values, exactly as found.
struct ImageWallpaperState {
  std::string wallpaper;     // "" is no wallpaper
  std::string style;         // WallpaperStyle
  std::string tile;          // TileWallpaper
  bool hasStyle = false;     // false: the value did not exist and is deleted on restore
  bool hasTile = false;
};

// Pixels 0x00RRGGBB, rows top to bottom.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

class ImageWallpaper {
 public:
  virtual ~ImageWallpaper() = default;
  // 0 where there is no Windows.
  virtual unsigned WindowsMajorVersion() = 0;
  virtual unsigned WindowsMinorVersion() = 0;
  // False where there is no desktop to change.
  virtual bool Read(ImageWallpaperState& state) = 0;
  // Style values first (the system reads them when it takes the picture), then the picture.
  virtual bool Write(const ImageWallpaperState& state) = 0;
  virtual void ScreenSize(int& width, int& height) = 0;
  // BMP, JPEG, GIF or PNG. False when it cannot be read.
  virtual bool LoadPicture(const std::string& path, Picture& picture) = 0;
};

// The machine's own (Windows), or one without a desktop (elsewhere).
ImageWallpaper& SystemImageWallpaper();

}  // namespace zarvane
