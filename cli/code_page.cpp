#include "code_page.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <vector>

#include "cli_command.h"
#include "host_text.h"

namespace zarvane {
namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

std::string WithoutByteOrderMark(const std::string& text) {
  return text.compare(0, 3, kByteOrderMark) == 0 ? text.substr(3) : text;
}

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
#ifdef _WIN32
  int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, body.data(),
                                 static_cast<int>(body.size()), nullptr, 0);
  if (wide <= 0) return false;
  std::vector<wchar_t> text(wide);
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, body.data(), static_cast<int>(body.size()),
                      text.data(), wide);
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
  iconv_t convert = iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-8");
  if (convert == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> in(body.begin(), body.end());
  std::vector<char> buffer(body.size() * 2 + 16);
  char* from = in.data();
  std::size_t fromLeft = in.size();
  char* to = buffer.data();
  std::size_t toLeft = buffer.size();
  // A single-byte code page never needs more bytes than UTF-8 did; double-byte ones fit twice.
  bool whole = iconv(convert, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
  iconv_close(convert);
  out.assign(buffer.data(), to);
  return whole && fromLeft == 0;
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

std::string UseCodePage(const std::string& text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
    return "--codepage takes a code page number, not '" + text + "'";
  const int codePage = std::stoi(text);
  if (SetHostCodePage(codePage)) return "";
  // Code pages Windows knows that cannot be the narrow text of a Windows program.
  const struct {
    int number;
    const char* what;
  } others[] = {{437, "an OEM code page"}, {850, "an OEM code page"}, {852, "an OEM code page"},
                {866, "an OEM code page"}, {1200, "UTF-16"}, {1201, "UTF-16"},
                {12000, "UTF-32"}, {20127, "US-ASCII"}, {28591, "ISO 8859-1"},
                {65000, "UTF-7"}, {65001, "UTF-8"}};
  std::string why = "code page " + text + " is unknown";
  for (const auto& o : others)
    if (o.number == codePage)
      why = "code page " + text + " (" + o.what + ") is not one a Windows program's names use";
  return why + "; a wallpaper's names may be in 874, 932, 936, 949, 950 or 1250 to 1258";
}

int TakeCodePageOption(const CliCommand& command, const std::vector<std::string>& args,
                       std::vector<std::string>& rest, std::ostream& err) {
  std::string codePage = "1252";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--codepage") {
      rest.push_back(args[i]);
    } else if (i + 1 < args.size()) {
      codePage = args[++i];
    } else {
      return UsageError(command, "--codepage needs a value", err);
    }
  }
  std::string why = UseCodePage(codePage);
  return why.empty() ? kExitOk : UsageError(command, why, err);
}

}  // namespace zarvane
