#include "terminal_text.h"

#include "host_text.h"

namespace zarvane {

std::string Printable(const std::string& text, bool keepLayout) {
  static const char hex[] = "0123456789abcdef";
  const std::string host = HostText(text);
  std::string shown;
  for (std::size_t i = 0; i < host.size(); ++i) {
    unsigned char c = host[i];
    bool layout = keepLayout && (c == '\n' || c == '\t');
    // U+0080 to U+009F are control characters too (U+009B starts an escape sequence).
    bool c1 = c == 0xC2 && i + 1 < host.size() && (host[i + 1] & 0xE0) == 0x80 &&
              kHostSpeaksUtf8;
    if (c1) {
      shown += "\\xc2\\x";
      c = host[++i];
      shown += hex[c >> 4];
      shown += hex[c & 15];
    } else if ((c < 0x20 || c == 0x7F) && !layout) {
      shown += "\\x";
      shown += hex[c >> 4];
      shown += hex[c & 15];
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

int StreamPrompt::Show(const std::string& caption, const std::string& text, unsigned style) {
  out_ << (caption.empty() ? "zarvane-cli" : caption) << ": " << Printable(text, true) << "\n";
  return (style & 0xF) == kPromptYesNo ? kAnswerYes : kAnswerOk;
}

}  // namespace zarvane
