#include "image_wallpaper.h"

namespace zarvane {
namespace {

// No desktop outside Windows: the wallpaper core keeps to the page alone.
class NoImageWallpaper : public ImageWallpaper {
 public:
  unsigned WindowsMajorVersion() override { return 0; }
  unsigned WindowsMinorVersion() override { return 0; }
  bool Read(ImageWallpaperState&) override { return false; }
  bool Write(const ImageWallpaperState&) override { return false; }
  void ScreenSize(int& width, int& height) override { width = height = 0; }
  bool LoadPicture(const std::string&, Picture&) override { return false; }
};

}  // namespace

ImageWallpaper& SystemImageWallpaper() {
  static NoImageWallpaper wallpaper;
  return wallpaper;
}

}  // namespace zarvane
