#include "picture_files.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>

namespace zarvane {

namespace {

std::uint32_t Big32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint32_t Little(const std::string& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

void PutBig32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PngChunk(std::string& png, const char* type, const std::string& data) {
  PutBig32(png, static_cast<std::uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  png += body;
  PutBig32(png, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                 static_cast<uInt>(body.size()))));
}

int Paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

}  // namespace

bool DecodePng(const std::string& png, Picture& picture, std::string& error) {
  error = "the shot is not a PNG this tool reads";
  if (png.size() < 8 + 25 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return false;
  std::uint32_t width = 0, height = 0;
  int channels = 0;
  std::string packed;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    std::uint32_t length = Big32(png, at);
    if (length > png.size() - at - 12) return false;
    std::string type = png.substr(at + 4, 4);
    if (type == "IHDR" && length >= 13) {
      width = Big32(png, at + 8);
      height = Big32(png, at + 12);
      const std::string form = png.substr(at + 16, 5);  // depth, colour type, methods, interlace
      channels = form == std::string("\x08\x02\x00\x00\x00", 5)   ? 3
                 : form == std::string("\x08\x06\x00\x00\x00", 5) ? 4
                                                                   : 0;
      if (!channels) {
        error = "the shot is not an 8-bit RGB or RGBA PNG without interlacing";
        return false;
      }
    } else if (type == "IDAT") {
      packed += png.substr(at + 8, length);
    } else if (type == "IEND") {
      break;
    }
    at += 12 + std::size_t(length);
  }
  if (!channels || width == 0 || height == 0 || width > 16384 || height > 16384) return false;
  const std::size_t stride = std::size_t(width) * channels;
  std::string rows((stride + 1) * height, '\0');
  uLongf size = static_cast<uLongf>(rows.size());
  if (uncompress(reinterpret_cast<Bytef*>(&rows[0]), &size,
                 reinterpret_cast<const Bytef*>(packed.data()),
                 static_cast<uLong>(packed.size())) != Z_OK ||
      size != rows.size()) {
    error = "the shot's pixels are damaged";
    return false;
  }
  std::string previous(stride, '\0'), line(stride, '\0');
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.pixels.assign(std::size_t(width) * height, 0);
  for (std::uint32_t y = 0; y < height; ++y) {
    const unsigned char filter = static_cast<unsigned char>(rows[y * (stride + 1)]);
    if (filter > 4) {
      error = "the shot's pixels are damaged";
      return false;
    }
    for (std::size_t i = 0; i < stride; ++i) {
      int raw = static_cast<unsigned char>(rows[y * (stride + 1) + 1 + i]);
      int left = i >= std::size_t(channels) ? static_cast<unsigned char>(line[i - channels]) : 0;
      int up = static_cast<unsigned char>(previous[i]);
      int corner = i >= std::size_t(channels) ? static_cast<unsigned char>(previous[i - channels]) : 0;
      int predicted = filter == 1   ? left
                      : filter == 2 ? up
                      : filter == 3 ? (left + up) / 2
                      : filter == 4 ? Paeth(left, up, corner)
                                    : 0;
      line[i] = static_cast<char>((raw + predicted) & 0xFF);
    }
    for (std::uint32_t x = 0; x < width; ++x) {
      const unsigned char* p = reinterpret_cast<const unsigned char*>(&line[x * channels]);
      picture.pixels[std::size_t(y) * width + x] = std::uint32_t(p[0]) << 16 | p[1] << 8 | p[2];
    }
    previous.swap(line);
  }
  error.clear();
  return true;
}

std::string EncodePng(const Picture& picture) {
  std::string header;
  PutBig32(header, static_cast<std::uint32_t>(picture.width));
  PutBig32(header, static_cast<std::uint32_t>(picture.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  std::string rows;
  rows.reserve((std::size_t(picture.width) * 3 + 1) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    rows += '\0';
    for (int x = 0; x < picture.width; ++x) {
      std::uint32_t p = picture.pixels[std::size_t(y) * picture.width + x];
      rows += static_cast<char>((p >> 16) & 0xFF);
      rows += static_cast<char>((p >> 8) & 0xFF);
      rows += static_cast<char>(p & 0xFF);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(&packed[0]), &packedSize,
            reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()), 9);
  packed.resize(packedSize);
  std::string png = "\x89PNG\r\n\x1a\n";
  PngChunk(png, "IHDR", header);
  PngChunk(png, "IDAT", packed);
  PngChunk(png, "IEND", "");
  return png;
}

bool DecodeBmp(const std::string& bmp, Picture& picture) {
  if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0 || Little(bmp, 14, 4) < 40) return false;
  const std::uint32_t offset = Little(bmp, 10, 4), bits = Little(bmp, 28, 2);
  const std::int32_t width = static_cast<std::int32_t>(Little(bmp, 18, 4));
  const std::int32_t height = static_cast<std::int32_t>(Little(bmp, 22, 4));
  const std::uint32_t compression = Little(bmp, 30, 4);
  const bool bitFields32 = bits == 32 && compression == 3;  // the usual 8-8-8 masks assumed
  if ((bits != 24 && bits != 32) || (compression != 0 && !bitFields32)) return false;
  const std::int64_t rowsTall = height < 0 ? -std::int64_t(height) : height;
  if (width <= 0 || width > 16384 || rowsTall == 0 || rowsTall > 16384) return false;
  const std::size_t step = bits / 8, stride = (std::size_t(width) * step + 3) & ~std::size_t(3);
  if (offset > bmp.size() || (bmp.size() - offset) / stride < std::size_t(rowsTall)) return false;
  picture.width = width;
  picture.height = static_cast<int>(rowsTall);
  picture.pixels.assign(std::size_t(width) * rowsTall, 0);
  for (std::int64_t y = 0; y < rowsTall; ++y) {
    const std::size_t row = offset + stride * std::size_t(height < 0 ? y : rowsTall - 1 - y);
    for (std::int32_t x = 0; x < width; ++x)
      picture.pixels[std::size_t(y) * width + x] = Little(bmp, row + x * step, 3);
  }
  return true;
}

}  // namespace zarvane
