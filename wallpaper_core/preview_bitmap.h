#pragma once
// Bitmap resources written out as .bmp files (default preview and installer pictures).
//
// File written:  [14 file header: "BM", file size, 0, 0, pixel offset]
//                [40 BITMAPINFOHEADER][coloursUsed x 4 colour table][imageSize pixel bytes]
#include <cstdint>
#include <string>

namespace zarvane {

enum : int { kDefaultPreviewBitmap = 233, kDefaultInstallerBitmap = 234 };

struct BmpLayout {
  int colourDepth = 0;             // planes x bits, rounded up to 1, 4, 8, 16, 24 or 32
  std::uint32_t imageSize = 0;     // rows padded to 32 bits
  std::uint32_t coloursUsed = 0;   // 2^depth below 24 bits, else 0
  std::uint32_t tableRoom = 0;     // colour-table entries GetDIBits may fill
  std::uint32_t pixelOffset = 0;
  std::uint32_t fileSize = 0;
};

BmpLayout LayoutFor(std::int32_t width, std::int32_t height, int planes, int bitsPerPixel);

// The 40-byte info header for the layout (little-endian).
std::string InfoHeader(std::int32_t width, std::int32_t height, int planes, int bitsPerPixel,
                       const BmpLayout& layout);
std::string FileHeader(const BmpLayout& layout);

// Writes the program's bitmap resource `id` to `path`; false when it could not.
bool WriteBitmapResource(int id, const std::string& path);

}  // namespace zarvane
