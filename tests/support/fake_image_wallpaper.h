#pragma once
#include <string>

#include "image_wallpaper.h"

namespace zarvane {

// The image wallpaper of a machine whose version the test chooses; it remembers what it holds.
class FakeImageWallpaper : public ImageWallpaper {
 public:
  unsigned major = 10;  // 5: Windows XP, where the page shows
  unsigned minor = 0;
  bool refuses = false;
  ImageWallpaperState held{"C:\\WINDOWS\\mine.bmp", "10", "", true, false};
  unsigned WindowsMajorVersion() override { return major; }
  unsigned WindowsMinorVersion() override { return minor; }
  bool Read(ImageWallpaperState& state) override {
    state = held;
    return true;
  }
  bool Write(const ImageWallpaperState& state) override {
    if (refuses) return false;
    held = state;
    return true;
  }
  Picture loadable;  // what every picture file reads as; none while empty
  void ScreenSize(int& width, int& height) override { width = 4, height = 2; }
  bool LoadPicture(const std::string&, Picture& picture) override {
    picture = loadable;
    return loadable.width > 0;
  }
};

}  // namespace zarvane
