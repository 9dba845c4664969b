#include "terminal_text.h"

namespace zarvane {

std::string Printable(const std::string& text, bool keepLayout) {
  static const char hex[] = "0123456789abcdef";
  std::string shown;
  for (unsigned char c : text) {
    bool layout = keepLayout && (c == '\n' || c == '\t');
    if ((c < 0x20 || c == 0x7F) && !layout) {
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
