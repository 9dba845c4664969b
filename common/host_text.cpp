#include "host_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace zarvane {
namespace {

int hostCodePage = 1252;

bool IsLeadByte(unsigned char c) {
#ifdef _WIN32
  return IsDBCSLeadByte(c) != FALSE;
#else
  switch (hostCodePage) {
    case 932: return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 949:
    case 950: return c >= 0x81 && c <= 0xFE;
    default: return false;
  }
#endif
}

}  // namespace

std::string NameKey(const std::string& name) {
  std::string key = name;
  for (std::size_t i = 0; i < key.size(); ++i) {
    unsigned char c = key[i];
    if (IsLeadByte(c))
      ++i;  // its trail byte is part of the character
    else if (c >= 'A' && c <= 'Z')
      key[i] = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && NameKey(a) == NameKey(b);
}

const int kWallpaperCodePages[] = {874,  932,  936,  949,  950,  1250, 1251, 1252,
                                   1253, 1254, 1255, 1256, 1257, 1258, 0};

bool IsWallpaperCodePage(int codePage) {
  for (const int* c = kWallpaperCodePages; *c; ++c)
    if (*c == codePage) return true;
  return false;
}

bool SetHostCodePage(int codePage) {
  if (!IsWallpaperCodePage(codePage)) return false;
  hostCodePage = codePage;
  return true;
}

int HostCodePage() { return hostCodePage; }

std::size_t Utf8SequenceLength(const std::string& text, std::size_t at) {
  unsigned char c = text[at];
  std::size_t extra;
  unsigned least, value;
  if (c >= 0xC2 && c <= 0xDF) {
    extra = 1, least = 0x80, value = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2, least = 0x800, value = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3, least = 0x10000, value = c & 0x07;
  } else {
    return 0;
  }
  if (at + extra >= text.size()) return 0;
  for (std::size_t k = 1; k <= extra; ++k) {
    unsigned char next = text[at + k];
    if ((next & 0xC0) != 0x80) return 0;
    value = value << 6 | (next & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return extra + 1;
}

#ifdef _WIN32
std::string HostText(const std::string& text) { return text; }

std::string HostPath(const std::string& path) { return path; }
#else
std::string HostText(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  if (i == text.size()) return text;
  static int openFor = 0;
  static iconv_t decode = reinterpret_cast<iconv_t>(-1);
  if (openFor != hostCodePage) {
    if (decode != reinterpret_cast<iconv_t>(-1)) iconv_close(decode);
    decode = iconv_open("UTF-8", ("CP" + std::to_string(hostCodePage)).c_str());
    openFor = hostCodePage;
  }
  static const char hex[] = "0123456789abcdef";
  std::string host = text.substr(0, i);
  while (i < text.size()) {
    unsigned char c = text[i];
    std::size_t sequence = c < 0x80 ? 1 : Utf8SequenceLength(text, i);
    if (sequence) {
      host.append(text, i, sequence);
      i += sequence;
      continue;
    }
    // One character of the code page: a lead byte takes its trail byte along.
    bool converted = false;
    for (std::size_t length = 1; length <= 2 && i + length <= text.size() && !converted; ++length) {
      if (decode == reinterpret_cast<iconv_t>(-1)) break;
      char in[2] = {text[i], length > 1 ? text[i + 1] : '\0'}, out[8];
      char* from = in;
      char* to = out;
      std::size_t fromLeft = length, toLeft = sizeof out;
      iconv(decode, nullptr, nullptr, nullptr, nullptr);
      if (iconv(decode, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1) &&
          fromLeft == 0 && to != out) {
        host.append(out, to);
        i += length;
        converted = true;
      } else if (errno != EINVAL) {
        break;
      }
    }
    if (!converted) {
      host += "\\x";
      host += hex[c >> 4];
      host += hex[c & 15];
      ++i;
    }
  }
  return host;
}

std::string HostPath(const std::string& path) {
  std::string host = path;
  for (char& c : host)
    if (c == '\\') c = '/';
  return HostText(host);
}
#endif

}  // namespace zarvane
