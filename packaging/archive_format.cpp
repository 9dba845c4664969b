#include "archive_format.h"

#include <cstring>

namespace zarvane {

bool IsValidMemberName(const std::string& name) {
  if (name.empty() || name.size() >= kArchiveNameLimit || name == "." || name == "..")
    return false;
  for (char c : name)
    if (c == '\\' || c == '/' || c == ':' || c == '\0') return false;
  return true;
}

bool IsDeviceName(const std::string& name) {
  // Windows looks at the part before the first dot, without the blanks that end it.
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

bool IsWindowsFileName(const std::string& name) {
  if (!IsValidMemberName(name) || IsDeviceName(name)) return false;
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
