#include "media_type.h"

#include <cstdio>

namespace zarvane {

int MediaTypeOfBytes(const unsigned char* bytes, std::size_t size) {
  if (size < 3) return kMediaOther;
  if ((bytes[0] == 'F' || bytes[0] == 'C') && bytes[1] == 'W' && bytes[2] == 'S')
    return kMediaMovie;
  if (bytes[0] == 'B' && bytes[1] == 'M') return kMediaPicture;
  return kMediaOther;
}

int DetectMediaType(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return kMediaOther;
  unsigned char head[3];
  std::size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  return MediaTypeOfBytes(head, got);
}

}  // namespace zarvane
