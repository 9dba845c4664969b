#include "wallpaper_name_rule.h"

#include "path_words.h"

namespace zarvane {

bool IsUsableWallpaperName(const std::string& name) {
  if (name.find_first_of("\\/:") != std::string::npos) return false;
  if (IsWindowsDeviceName(name)) return false;
  if (name.find_first_not_of(". \t") == std::string::npos) return false;
  return name.back() != '.' && name.back() != ' ';
}

}  // namespace zarvane
