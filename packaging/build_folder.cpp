#include "build_folder.h"

#include <filesystem>

#include "archive_file.h"
#include "file_system.h"
#include "path_words.h"

namespace zarvane {

BuildFolder::BuildFolder(const std::string& temporaryFolder) {
  if (temporaryFolder.empty() || !IsPathSeparator(temporaryFolder.back())) return;
  // Named after the process, so the next build can tell a killed build's folder from a running
  // one's and take it away.
  path_ = MakeRunFolder(temporaryFolder, "zarvane-build-");
#ifndef _WIN32
  if (!path_.empty()) {
    std::error_code ec;
    std::filesystem::permissions(HostPath(path_), std::filesystem::perms::owner_all, ec);
  }
#endif
}

BuildFolder::~BuildFolder() {
  if (!path_.empty()) RemoveFolderAndFiles(path_);
}

}  // namespace zarvane
