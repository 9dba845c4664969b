#include <filesystem>

#include "locate_flash_control.h"

namespace zarvane {

// No system or Windows folder here: the temporary folder and the tool's own folder remain.
FlashControlFolders MachineFlashControlFolders() {
  namespace fs = std::filesystem;
  FlashControlFolders folders;
  std::error_code ec;
  fs::path temp = fs::temp_directory_path(ec);
  if (!ec) folders.temporaryFolder = temp.string() + "/";
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) folders.toolFolder = self.parent_path().string() + "/";
  return folders;
}

}  // namespace zarvane
