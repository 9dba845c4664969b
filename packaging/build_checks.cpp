#include "build_checks.h"

#include "archive_file.h"
#include "host_text.h"
#include "path_words.h"
#include "text.h"

namespace zarvane {

std::string PathKey(const std::string& path) {
  std::string root;
  std::vector<std::string> parts;
  for (std::string part : ResolvedParts(path, root)) {
    // Windows drops a name's trailing dots and blanks.
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (!part.empty()) parts.push_back(NameKey(part));
  }
  std::string key(root.size(), '\\');
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
