#include "unicode_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <vector>

#include "host_text.h"

namespace zarvane {

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

std::string WithoutByteOrderMark(const std::string& text) {
  return text.compare(0, 3, kByteOrderMark) == 0 ? text.substr(3) : text;
}

#ifdef _WIN32
// `text` in `codePage` as UTF-16; false for bytes the code page does not define.
bool ToWide(int codePage, const std::string& text, std::vector<wchar_t>& wide) {
  int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return false;
  wide.resize(length);
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                      wide.data(), length);
  return true;
}
#else
// `text` from encoding `from` into `to`, in at most `room` bytes; false unless all of it converts.
bool Convert(const std::string& to, const std::string& from, const std::string& text,
             std::size_t room, std::string& out) {
  iconv_t convert = iconv_open(to.c_str(), from.c_str());
  if (convert == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> in(text.begin(), text.end());
  std::vector<char> buffer(room);
  char* source = in.data();
  std::size_t sourceLeft = in.size();
  char* target = buffer.data();
  std::size_t targetLeft = buffer.size();
  bool whole = iconv(convert, &source, &sourceLeft, &target, &targetLeft) !=
               static_cast<std::size_t>(-1);
  iconv_close(convert);
  out.assign(buffer.data(), target);
  return whole && sourceLeft == 0;
}
#endif

}  // namespace

bool IsUtf8BeyondAscii(const std::string& text) {
  const std::string body = WithoutByteOrderMark(text);
  bool beyond = false;
  for (std::size_t i = 0; i < body.size();) {
    unsigned char c = body[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t sequence = Utf8SequenceLength(body, i);
    if (sequence == 0) return false;
    beyond = true;
    i += sequence;
  }
  return beyond;
}

bool Utf8ToCodePage(const std::string& utf8, int codePage, std::string& out) {
  const std::string body = WithoutByteOrderMark(utf8);
  out.clear();
  if (body.empty()) return true;
  // A Windows whose narrow text is UTF-8 (65001) takes it as it is; its conversion would refuse
  // the no-best-fit flag.
  if (codePage == 65001) {
    out = body;
    return true;
  }
#ifdef _WIN32
  std::vector<wchar_t> text;
  if (!ToWide(CP_UTF8, body, text)) return false;
  const int wide = static_cast<int>(text.size());
  BOOL lost = FALSE;
  // No best fit: "ł" must not quietly become "l".
  int bytes = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), wide, nullptr, 0,
                                  nullptr, &lost);
  if (bytes <= 0 || lost) return false;
  out.resize(bytes);
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), wide, &out[0], bytes, nullptr,
                      &lost);
  return !lost;
#else
  // A single-byte code page never needs more bytes than UTF-8 did; double-byte ones fit twice.
  return Convert("CP" + std::to_string(codePage), "UTF-8", body, body.size() * 2 + 16, out);
#endif
}

bool CodePageToUtf8(const std::string& text, int codePage, std::string& utf8) {
  utf8.clear();
  if (text.empty()) return true;
  if (codePage == 65001) {
    utf8 = text;
    return true;
  }
#ifdef _WIN32
  std::vector<wchar_t> unicode;
  if (!ToWide(codePage, text, unicode)) return false;
  const int wide = static_cast<int>(unicode.size());
  int bytes = WideCharToMultiByte(CP_UTF8, 0, unicode.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  utf8.resize(bytes);
  WideCharToMultiByte(CP_UTF8, 0, unicode.data(), wide, &utf8[0], bytes, nullptr, nullptr);
  return true;
#else
  // No code page character needs more than four bytes of UTF-8.
  return Convert("UTF-8", "CP" + std::to_string(codePage), text, text.size() * 4 + 16, utf8);
#endif
}

bool Utf16ToUtf8(const std::string& utf16, std::string& utf8) {
  if (utf16.size() % 2 || utf16.size() < 2) return false;
  const bool little = utf16[0] == '\xFF';
  auto unit = [&](std::size_t at) -> unsigned {
    unsigned a = static_cast<unsigned char>(utf16[at]), b = static_cast<unsigned char>(utf16[at + 1]);
    return little ? a | b << 8 : b | a << 8;
  };
  std::string out;
  for (std::size_t i = 2; i < utf16.size(); i += 2) {
    unsigned c = unit(i);
    if (c >= 0xDC00 && c <= 0xDFFF) return false;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 2 >= utf16.size()) return false;
      unsigned low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  utf8 = out;
  return true;
}

std::string Utf8ToUtf16(const std::string& utf8, bool bigEndian) {
  std::string out;
  auto unit = [&](unsigned u) {
    char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  unit(0xFEFF);
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = utf8[i];
    std::size_t length = c < 0x80 ? 1 : Utf8SequenceLength(utf8, i);
    if (length == 0) {  // not well-formed: no character of its own
      unit(0xFFFD);
      ++i;
      continue;
    }
    unsigned code = length == 1 ? c : c & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) code = code << 6 | (utf8[i + k] & 0x3F);
    i += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      unit(0xD800 + (code >> 10));
      unit(0xDC00 + (code & 0x3FF));
    } else {
      unit(code);
    }
  }
  return out;
}

}  // namespace zarvane
