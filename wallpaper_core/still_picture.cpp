#include "still_picture.h"

#include <cstdint>

#include "text.h"

namespace zarvane {
namespace {

// Where one copy starts along an axis: the page's background-position words.
int Offset(const std::string& word, const char* start, const char* end, int screen, int image) {
  if (EqualsIgnoreCase(word, start)) return 0;
  if (EqualsIgnoreCase(word, end)) return screen - image;
  // Negative when the image is larger: cut off evenly, the odd pixel on the left or top.
  const int room = screen - image;
  return room >= 0 ? room / 2 : -((1 - room) / 2);
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

Picture ComposeStillPicture(Colour colour, const Picture& background, const std::string& position,
                            int width, int height) {
  Picture still;
  if (width <= 0 || height <= 0) return still;
  still.width = width;
  still.height = height;
  const std::uint32_t fill =
      ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
  still.pixels.assign(static_cast<std::size_t>(width) * height, fill);
  const int w = background.width, h = background.height;
  if (w <= 0 || h <= 0 || background.pixels.size() < static_cast<std::size_t>(w) * h) return still;

  auto at = [&](int x, int y) { return background.pixels[static_cast<std::size_t>(y) * w + x]; };
  if (EqualsIgnoreCase(position, "Tile")) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) still.pixels[std::size_t(y) * width + x] = at(x % w, y % h);
    return still;
  }
  if (EqualsIgnoreCase(position, "Stretch")) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        still.pixels[std::size_t(y) * width + x] =
            at(static_cast<int>(std::int64_t(x) * w / width),
               static_cast<int>(std::int64_t(y) * h / height));
    return still;
  }
  // "Top Left" and the like name the vertical place first; a lone word is both.
  std::string vertical = Trim(position), horizontal = vertical;
  std::string::size_type blank = vertical.find(' ');
  if (blank != std::string::npos) {
    horizontal = Trim(vertical.substr(blank + 1));
    vertical = vertical.substr(0, blank);
  }
  const int left = Offset(horizontal, "Left", "Right", width, w);
  const int top = Offset(vertical, "Top", "Bottom", height, h);
  for (int y = 0; y < h; ++y) {
    if (top + y < 0 || top + y >= height) continue;
    for (int x = 0; x < w; ++x)
      if (left + x >= 0 && left + x < width)
        still.pixels[std::size_t(top + y) * width + left + x] = at(x, y);
  }
  return still;
}

std::string EncodeBmp24(const Picture& picture) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(picture.height);
  std::string out;
  out.reserve(54 + imageSize);
  out += "BM";
  PutLittleEndian(out, 54 + imageSize, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 54, 4);
  PutLittleEndian(out, 40, 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(picture.width), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(picture.height), 4);  // positive: bottom-up
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, 24, 2);
  PutLittleEndian(out, 0, 4);  // BI_RGB
  PutLittleEndian(out, imageSize, 4);
  PutLittleEndian(out, 2835, 4);  // 72 dots per inch
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 0, 4);
  for (int y = picture.height - 1; y >= 0; --y) {
    std::uint32_t written = 0;
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t p = picture.pixels[std::size_t(y) * picture.width + x];
      out += static_cast<char>(p & 0xFF);          // blue
      out += static_cast<char>((p >> 8) & 0xFF);   // green
      out += static_cast<char>((p >> 16) & 0xFF);  // red
      written += 3;
    }
    for (; written < stride; ++written) out += '\0';
  }
  return out;
}

WallpaperStyleValues StyleForPosition(const std::string& position) {
  if (EqualsIgnoreCase(position, "Tile")) return {"0", "1"};
  if (EqualsIgnoreCase(position, "Stretch")) return {"2", "0"};
  return {"0", "0"};
}

WallpaperStyleValues StyleForStill(const std::string& position, bool movieFrame) {
  if (!movieFrame) return StyleForPosition(position);
  return EqualsIgnoreCase(position, "Stretch") ? StyleForPosition(position)
                                               : WallpaperStyleValues{"0", "0"};
}

}  // namespace zarvane
