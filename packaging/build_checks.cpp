#include "build_checks.h"

#include "archive_file.h"
#include "host_text.h"
#include "path_words.h"
#include "text.h"

namespace zarvane {

std::string PathKey(const std::string& path) {
  std::string root;
  std::size_t at = 0;
  while (at < path.size() && IsPathSeparator(path[at])) root += '\\', ++at;
  std::vector<std::string> parts;
  while (at <= path.size()) {
    std::size_t end = at;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    std::string part = path.substr(at, end - at);
    at = end + 1;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (!part.empty()) parts.push_back(NameKey(part));
  }
  std::string key = root;
  for (std::size_t i = 0; i < parts.size(); ++i) key += (i ? "\\" : "") + parts[i];
  return key;
}

bool SameFile(const std::string& a, const std::string& b) {
  return PathKey(a) == PathKey(b) || SameExistingFile(a, b);
}

bool FindNameClash(const std::vector<PackedFile>& files, std::size_t& first, std::size_t& second) {
  for (std::size_t j = 1; j < files.size(); ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      if (!SameNameIgnoringCase(files[i].name, files[j].name) ||
          SameFile(files[i].path, files[j].path))
        continue;
      first = i;
      second = j;
      return true;
    }
  }
  return false;
}

bool IsInstallersOwnName(const std::string& name) {
  return EqualsIgnoreCase(name, "instcfg.ini") || EqualsIgnoreCase(name, "Uninstall.exe");
}

}  // namespace zarvane
