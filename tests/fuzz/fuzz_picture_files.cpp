// Any bytes as an author's still picture, read as PNG and as BMP: a decoded picture has exactly
// its pixels, and a PNG of it reads back as the same picture.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "picture_files.h"

namespace {

void CheckPicture(const zarvane::Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != std::size_t(picture.width) * std::size_t(picture.height))
    std::abort();
  zarvane::Picture again;
  std::string error;
  if (!zarvane::DecodePng(zarvane::EncodePng(picture), again, error) ||
      again.width != picture.width || again.height != picture.height)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  zarvane::Picture png, bmp;
  std::string error;
  if (zarvane::DecodePng(bytes, png, error)) CheckPicture(png);
  if (zarvane::DecodeBmp(bytes, bmp)) CheckPicture(bmp);
  return 0;
}
