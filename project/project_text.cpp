#include "project_text.h"

#include "text.h"
#include "unicode_text.h"

namespace zarvane {
namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

// Line by line, so that a refusal can name the key whose value the code page cannot hold.
bool LinesInCodePage(const std::string& utf8, int codePage, std::string& converted,
                     ProjectTextRefusal& refusal) {
  std::string section;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    end = end == std::string::npos ? utf8.size() : end + 1;
    std::string line = utf8.substr(start, end - start), bytes;
    if (!Utf8ToCodePage(line, codePage, bytes)) {
      std::string trimmed = Trim(line);
      refusal.where = trimmed.rfind('[', 0) == 0
                          ? trimmed
                          : "[" + section + "] " + Trim(trimmed.substr(0, trimmed.find('=')));
      refusal.value = trimmed.substr(trimmed.find('=') + 1);
      return false;
    }
    std::string trimmed = Trim(bytes);
    if (trimmed.size() > 1 && trimmed[0] == '[' && trimmed.back() == ']')
      section = Trim(line).substr(1, Trim(line).size() - 2);
    converted += bytes;
    start = end;
  }
  return true;
}

}  // namespace

bool ProjectTextInCodePage(const std::string& bytes, int codePage, std::string& text,
                           ProjectEncoding& encoding, ProjectTextRefusal& refusal) {
  refusal = ProjectTextRefusal();
  text.clear();
  std::string utf8;
  if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    encoding = bytes[0] == '\xFF' ? ProjectEncoding::kUtf16Little : ProjectEncoding::kUtf16Big;
    if (!Utf16ToUtf8(bytes, utf8)) return false;
  } else if (bytes.compare(0, 3, kUtf8Mark) == 0 &&
             (IsUtf8BeyondAscii(bytes) || IsAscii(bytes.substr(3)))) {
    encoding = ProjectEncoding::kUtf8WithMark;
    utf8 = bytes.substr(3);
  } else if (IsUtf8BeyondAscii(bytes)) {
    encoding = ProjectEncoding::kUtf8;
    utf8 = bytes;
  } else {
    encoding = ProjectEncoding::kCodePage;
    text = bytes;
    return true;
  }
  return LinesInCodePage(utf8, codePage, text, refusal);
}

bool ProjectBytes(const std::string& text, ProjectEncoding encoding, int codePage,
                  std::string& bytes) {
  if (encoding == ProjectEncoding::kCodePage) {
    bytes = text;
    return true;
  }
  std::string utf8;
  if (!CodePageToUtf8(text, codePage, utf8)) return false;
  switch (encoding) {
    case ProjectEncoding::kUtf8WithMark: bytes = kUtf8Mark + utf8; break;
    case ProjectEncoding::kUtf16Little: bytes = Utf8ToUtf16(utf8, false); break;
    case ProjectEncoding::kUtf16Big: bytes = Utf8ToUtf16(utf8, true); break;
    default: bytes = utf8; break;
  }
  return true;
}

const char* EncodingName(ProjectEncoding encoding) {
  switch (encoding) {
    case ProjectEncoding::kCodePage: return "the code page";
    case ProjectEncoding::kUtf16Little:
    case ProjectEncoding::kUtf16Big: return "UTF-16";
    default: return "UTF-8";
  }
}

}  // namespace zarvane
