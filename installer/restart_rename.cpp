#include "restart_rename.h"

namespace zarvane {

std::string RestartRenameKey(int index) { return "NUL" + std::to_string(1000 + index); }

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The key at `start` if one of the written keys stands there, else empty.
std::string::size_type KeyLength(const std::string& text, std::string::size_type start,
                                 int count, LowerCaseFunction lower) {
  for (int i = 0; i < count; ++i) {
    std::string key = lower(RestartRenameKey(i));
    if (text.compare(start, key.size(), key) != 0) continue;
    std::string::size_type after = start + key.size();
    while (after < text.size() && IsBlank(text[after])) ++after;
    if (after < text.size() && text[after] == '=') return key.size();
  }
  return 0;
}

}  // namespace

std::string RestartRenameText(const std::string& text, int count, LowerCaseFunction lower) {
  std::string lowered = lower(text);
  std::string out;
  out.reserve(lowered.size());
  std::string::size_type i = 0;
  while (i < lowered.size()) {
    std::string::size_type lineEnd = lowered.find('\n', i);
    lineEnd = lineEnd == std::string::npos ? lowered.size() : lineEnd + 1;
    std::string::size_type keyStart = i;
    while (keyStart < lineEnd && IsBlank(lowered[keyStart])) ++keyStart;
    std::string::size_type keyLength = KeyLength(lowered, keyStart, count, lower);
    if (keyLength > 0) {
      out.append(lowered, i, keyStart - i);
      out += "NUL";
      out.append(lowered, keyStart + keyLength, lineEnd - keyStart - keyLength);
    } else {
      out.append(lowered, i, lineEnd - i);
    }
    i = lineEnd;
  }
  return out;
}

}  // namespace zarvane
