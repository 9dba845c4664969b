#include "archive_format.h"

#include <cstring>

#include "path_words.h"

namespace zarvane {

bool IsValidMemberName(const std::string& name) {
  if (name.empty() || name.size() >= kArchiveNameLimit || name == "." || name == "..")
    return false;
  for (char c : name)
    if (c == '\\' || c == '/' || c == ':' || c == '\0') return false;
  return true;
}

bool IsWindowsFileName(const std::string& name) {
  if (!IsValidMemberName(name) || IsWindowsDeviceName(name)) return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/\\|?*", c)) return false;
  return true;
}

int ArchivePercentage(std::uint32_t done, std::uint32_t total) {
  if (total == 0) return 100;
  if (total <= 10000000u) return static_cast<int>(done * 100u / total);
  return static_cast<int>(done / (total / 100u));
}

}  // namespace zarvane
