#include "locate_flash_control.h"

#include "file_system.h"
#include "path_words.h"

namespace zarvane {

std::string LocateFlashControl(const FlashControlFolders& folders) {
  std::string base = folders.systemFolder;
  if (base.empty()) base = folders.windowsFolder;
  if (base.empty()) base = folders.temporaryFolder;
  if (base.empty() || !IsPathSeparator(base.back())) base += '\\';
  std::string candidate = base + "Macromed\\Flash\\flash.ocx";
  if (FileExists(candidate)) return candidate;
  return folders.toolFolder + "flash.ocx";
}

}  // namespace zarvane
