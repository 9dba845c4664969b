#include "preview_bitmap.h"

namespace zarvane {
namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

int RoundedDepth(int bits) {
  if (bits <= 1) return 1;
  if (bits <= 4) return 4;
  if (bits <= 8) return 8;
  if (bits <= 16) return 16;
  if (bits <= 24) return 24;
  return 32;
}

const std::uint32_t kFileHeaderSize = 14;
const std::uint32_t kInfoHeaderSize = 40;

}  // namespace

BmpLayout LayoutFor(std::int32_t width, std::int32_t height, int planes, int bitsPerPixel) {
  BmpLayout layout;
  layout.colourDepth = RoundedDepth(planes * bitsPerPixel);
  const int c = layout.colourDepth;
  layout.imageSize = std::uint32_t(((std::uint32_t(width) * c + 31) & ~31u) / 8 * std::uint32_t(height));
  layout.coloursUsed = c < 24 ? (1u << c) : 0;
  layout.tableRoom = c < 24 ? (1u << c) : (c == 24 ? 0 : 1);
  layout.pixelOffset = kFileHeaderSize + kInfoHeaderSize + layout.coloursUsed * 4;
  layout.fileSize = layout.pixelOffset + layout.imageSize;
  return layout;
}

std::string InfoHeader(std::int32_t width, std::int32_t height, int planes, int bitsPerPixel,
                       const BmpLayout& layout) {
  std::string header;
  PutLe(header, kInfoHeaderSize, 4);
  PutLe(header, std::uint32_t(width), 4);
  PutLe(header, std::uint32_t(height), 4);
  PutLe(header, std::uint32_t(planes), 2);
  PutLe(header, std::uint32_t(bitsPerPixel), 2);
  PutLe(header, 0, 4);  // BI_RGB
  PutLe(header, layout.imageSize, 4);
  PutLe(header, 0, 4);
  PutLe(header, 0, 4);
  PutLe(header, layout.coloursUsed, 4);
  PutLe(header, 0, 4);
  return header;
}

std::string FileHeader(const BmpLayout& layout) {
  std::string header = "BM";
  PutLe(header, layout.fileSize, 4);
  PutLe(header, 0, 4);
  PutLe(header, layout.pixelOffset, 4);
  return header;
}

}  // namespace zarvane
