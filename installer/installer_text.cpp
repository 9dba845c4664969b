#include "installer_text.h"

namespace zarvane {

std::string FormatText(const std::string& pattern, const std::string& value) {
  std::string::size_type at = pattern.find("%s");
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + value + pattern.substr(at + 2);
}

}  // namespace zarvane
