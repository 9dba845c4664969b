#include "restart_rename.h"

namespace zarvane {

std::string RestartRenameKey(int index) { return "NUL" + std::to_string(1000 + index); }

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }

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

std::string Trimmed(const std::string& text) {
  std::string::size_type start = 0, end = text.size();
  while (start < end && IsLineSpace(text[start])) ++start;
  while (end > start && IsLineSpace(text[end - 1])) --end;
  return text.substr(start, end - start);
}

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

std::string WithoutRestartDeletions(const std::string& text, const std::vector<std::string>& paths,
                                    LowerCaseFunction lower) {
  std::string out;
  bool inRename = false;
  std::string::size_type i = 0;
  while (i < text.size()) {
    std::string::size_type lineEnd = text.find('\n', i);
    lineEnd = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
    const std::string line = Trimmed(text.substr(i, lineEnd - i));
    bool drop = false;
    if (!line.empty() && line[0] == '[') {
      inRename = lower(line) == "[rename]";
    } else if (inRename) {
      std::string::size_type equals = line.find('=');
      if (equals != std::string::npos && lower(Trimmed(line.substr(0, equals))) == "nul") {
        const std::string path = lower(WithoutTrailingBackslash(Trimmed(line.substr(equals + 1))));
        for (const std::string& ours : paths)
          if (lower(WithoutTrailingBackslash(ours)) == path) drop = true;
      }
    }
    if (!drop) out.append(text, i, lineEnd - i);
    i = lineEnd;
  }
  return out;
}

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
