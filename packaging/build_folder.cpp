#include "build_folder.h"

#include <filesystem>
#include <random>

#include "archive_file.h"
#include "file_system.h"
#include "path_words.h"

namespace zarvane {

BuildFolder::BuildFolder(const std::string& temporaryFolder) {
  if (temporaryFolder.empty() || !IsPathSeparator(temporaryFolder.back())) return;
  std::random_device random;
  static const char hex[] = "0123456789abcdef";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned value = random();
    std::string name = "zarvane-build-";
    for (int i = 0; i < 8; ++i, value >>= 4) name += hex[value & 15];
    std::string folder = temporaryFolder + name;
    if (MakeDirectory(folder)) {
#ifndef _WIN32
      std::error_code ec;
      std::filesystem::permissions(HostPath(folder), std::filesystem::perms::owner_all, ec);
#endif
      path_ = folder + temporaryFolder.back();
      return;
    }
    // Only a name that is taken is worth another try.
    if (!FileExists(folder) && ListDirectory(folder).empty()) return;
  }
}

BuildFolder::~BuildFolder() {
  if (!path_.empty()) RemoveFolderAndFiles(path_);
}

}  // namespace zarvane
