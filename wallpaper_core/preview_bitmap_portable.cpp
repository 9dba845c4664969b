// Without a display the resource keeps its own pixel format: its bytes go out under the same
// header rules the Windows side applies to the display's format.
#include <cstddef>
#include <cstdio>

#include "file_system.h"
#include "preview_bitmap.h"

extern const unsigned char kDefaultPreviewBmp[];
extern const std::size_t kDefaultPreviewBmp_size;
extern const unsigned char kDefaultInstallerBmp[];
extern const std::size_t kDefaultInstallerBmp_size;

namespace zarvane {
namespace {

std::uint32_t Le(const unsigned char* at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

}  // namespace

bool WriteBitmapResource(int id, const std::string& path) {
  const unsigned char* bmp = nullptr;
  std::size_t size = 0;
  if (id == kDefaultPreviewBitmap) {
    bmp = kDefaultPreviewBmp;
    size = kDefaultPreviewBmp_size;
  } else if (id == kDefaultInstallerBitmap) {
    bmp = kDefaultInstallerBmp;
    size = kDefaultInstallerBmp_size;
  }
  if (!bmp || size < 54) return false;

  const std::int32_t width = std::int32_t(Le(bmp + 18, 4));
  const std::int32_t height = std::int32_t(Le(bmp + 22, 4));
  const int planes = int(Le(bmp + 26, 2));
  const int bits = int(Le(bmp + 28, 2));
  const std::uint32_t headerSize = Le(bmp + 14, 4);
  const std::uint32_t ownColours = Le(bmp + 46, 4);
  const std::uint32_t ownOffset = Le(bmp + 10, 4);
  const BmpLayout layout = LayoutFor(width, height, planes, bits);

  std::string table(layout.coloursUsed * 4, '\0');
  const std::size_t tableAt = 14 + headerSize;
  for (std::size_t i = 0; i < table.size() && i < ownColours * 4 && tableAt + i < size; ++i)
    table[i] = char(bmp[tableAt + i]);
  std::string pixels(layout.imageSize, '\0');
  for (std::size_t i = 0; i < pixels.size() && ownOffset + i < size; ++i)
    pixels[i] = char(bmp[ownOffset + i]);

  return ReplaceFileContents(path, FileHeader(layout) +
                                       InfoHeader(width, height, planes, bits, layout) + table +
                                       pixels);
}

}  // namespace zarvane
