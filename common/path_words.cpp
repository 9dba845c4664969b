#include "path_words.h"

namespace zarvane {

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> ResolvedParts(const std::string& path, std::string& root) {
  root.clear();
  std::size_t at = 0;
  while (at < path.size() && IsPathSeparator(path[at])) root += path[at++];
  std::vector<std::string> parts;
  while (at <= path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    std::string part = path.substr(at, end - at);
    at = end + 1;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
  }
  return parts;
}

static std::string::size_type LastSeparator(const std::string& path) {
  return path.find_last_of("\\/");
}

std::string BareName(const std::string& path) {
  auto at = LastSeparator(path);
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string FolderOf(const std::string& path) {
  auto at = LastSeparator(path);
  return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string WithTrailingBackslash(const std::string& path) {
  if (path.empty()) return path;
  std::string out = path;
  while (!out.empty() && IsPathSeparator(out.back())) out.pop_back();
  return out + '\\';
}

bool IsWindowsDeviceName(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace zarvane
