#include "dpi.h"

#include <vector>

namespace zarvane {

int DpiOf(HWND window) {
  // The DPI the dialog manager sizes templates by. Programs declare system awareness only, so
  // this is also the window's on Windows 8.1 and later (GetDpiForWindow would answer 96 for a
  // program whose manifest was not read, while its templates still grow under Wine).
  HDC dc = GetDC(window);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
  if (dc) ReleaseDC(window, dc);
  return dpi > 0 ? dpi : kBaseDpi;
}

namespace {

// A 32-bit picture of rows from the top, as both ways through GDI here take it.
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// Top-down 32-bit rows of `picture`.
bool ReadPixels(HBITMAP picture, int& width, int& height, std::vector<DWORD>& pixels) {
  BITMAP size;
  if (!picture || !GetObjectA(picture, sizeof size, &size)) return false;
  width = size.bmWidth;
  height = size.bmHeight;
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info = TopDown32(width, height);
  pixels.assign(std::size_t(width) * height, 0);
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, picture, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return rows == height;
}

// One output coordinate's source span [from, to) in 1/256 steps of a pixel: an area average
// when shrinking, a linear blend of the two nearest pixels when growing.
struct Tap {
  int first, count;
  int weight[8];
};

std::vector<Tap> Taps(int from, int to) {
  std::vector<Tap> taps(to);
  for (int i = 0; i < to; ++i) {
    Tap& tap = taps[i];
    if (to >= from) {
      // Pixel centres: (i + 0.5) * from / to - 0.5, in 1/256.
      int centre = ((2 * i + 1) * from * 256 / to - 256) / 2;
      if (centre < 0) centre = 0;
      int left = centre >> 8, frac = centre & 255;
      if (left >= from - 1) left = from - 1, frac = 0;
      tap.first = left;
      tap.count = frac ? 2 : 1;
      tap.weight[0] = 256 - frac;
      tap.weight[1] = frac;
    } else {
      // Shrinking to less than an eighth would need more taps; callers never do.
      int start = i * from * 256 / to, end = (i + 1) * from * 256 / to;
      tap.first = start >> 8;
      tap.count = 0;
      int total = end - start;
      for (int p = tap.first; p * 256 < end && tap.count < 8; ++p) {
        int a = p * 256 > start ? p * 256 : start, b = (p + 1) * 256 < end ? (p + 1) * 256 : end;
        tap.weight[tap.count++] = (b - a) * 256 / total;
      }
      // The rounding's remainder goes to the last pixel: a flat colour stays that colour.
      int sum = 0;
      for (int k = 0; k + 1 < tap.count; ++k) sum += tap.weight[k];
      tap.weight[tap.count - 1] = 256 - sum;
    }
  }
  return taps;
}

}  // namespace

HBITMAP ScalePicture(HBITMAP picture, int width, int height) {
  int w, h;
  std::vector<DWORD> source;
  if (width <= 0 || height <= 0 || !ReadPixels(picture, w, h, source)) return nullptr;
  if (width * 8 < w || height * 8 < h) return nullptr;
  const std::vector<Tap> across = Taps(w, width), down = Taps(h, height);

  // Across first, into rows of `width`, in 1/256 units per channel.
  std::vector<unsigned> wide(std::size_t(width) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < width; ++x) {
      const Tap& tap = across[x];
      unsigned sum[3] = {};
      for (int k = 0; k < tap.count; ++k) {
        DWORD p = source[std::size_t(y) * w + tap.first + k];
        for (int c = 0; c < 3; ++c) sum[c] += ((p >> (8 * c)) & 255) * tap.weight[k];
      }
      for (int c = 0; c < 3; ++c) wide[(std::size_t(y) * width + x) * 3 + c] = sum[c];
    }

  BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  HBITMAP scaled = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!scaled) return nullptr;
  DWORD* out = static_cast<DWORD*>(bits);
  for (int y = 0; y < height; ++y) {
    const Tap& tap = down[y];
    for (int x = 0; x < width; ++x) {
      DWORD pixel = 0;
      for (int c = 0; c < 3; ++c) {
        unsigned sum = 0;
        for (int k = 0; k < tap.count; ++k)
          sum += wide[(std::size_t(tap.first + k) * width + x) * 3 + c] * tap.weight[k];
        unsigned value = (sum + 32768) / 65536;
        pixel |= (value > 255 ? 255 : value) << (8 * c);
      }
      out[std::size_t(y) * width + x] = pixel;
    }
  }
  GdiFlush();
  return scaled;
}

}  // namespace zarvane
