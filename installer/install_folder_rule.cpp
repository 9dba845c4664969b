#include "install_folder_rule.h"

#include <vector>

#include "path_words.h"
#include "text.h"

namespace zarvane {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The root ("C:" or "\\server\share") and the rest of an absolute path; false when relative.
bool SplitRoot(const std::string& path, std::string& root, std::string& rest) {
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsPathSeparator(path[2])) {
    root = path.substr(0, 2);
    rest = path.substr(3);
    return true;
  }
  if (path.size() < 3 || !IsPathSeparator(path[0]) || !IsPathSeparator(path[1])) return false;
  // \\server\share: both words belong to the root.
  std::string::size_type server = path.find_first_of("\\/", 2);
  if (server == std::string::npos || server == 2) return false;
  std::string::size_type share = path.find_first_of("\\/", server + 1);
  if (share == server + 1) return false;
  root =
      "\\\\" + path.substr(2, server - 2) + "\\" +
      path.substr(server + 1, share == std::string::npos ? std::string::npos : share - server - 1);
  rest = share == std::string::npos ? std::string() : path.substr(share + 1);
  return true;
}

}  // namespace

std::string NormalizedFullPath(const std::string& path) {
  std::string root, rest;
  if (!SplitRoot(path, root, rest)) return std::string();
  std::vector<std::string> words;
  std::string word;
  for (std::string::size_type i = 0; i <= rest.size(); ++i) {
    if (i < rest.size() && !IsPathSeparator(rest[i])) {
      word += rest[i];
      continue;
    }
    if (word == "..") {
      if (!words.empty()) words.pop_back();
    } else if (word != ".") {
      while (!word.empty() && (word.back() == '.' || word.back() == ' ')) word.pop_back();
      if (!word.empty()) words.push_back(word);
    }
    word.clear();
  }
  std::string full = root;
  for (const std::string& w : words) full += "\\" + w;
  return full;
}

InstallFolderVerdict JudgeInstallFolder(const std::string& folder,
                                        const std::string& windowsFolder) {
  const std::string full = NormalizedFullPath(folder);
  if (full.empty()) return InstallFolderVerdict::kRelative;
  std::string root, rest;
  SplitRoot(full + "\\", root, rest);
  if (EqualsIgnoreCase(full, root)) return InstallFolderVerdict::kShared;
  const std::string windows = NormalizedFullPath(windowsFolder);
  if (!windows.empty()) {
    const std::string wallpaperDir = windows + "\\Web\\WallPaper";
    if (EqualsIgnoreCase(full, windows) || EqualsIgnoreCase(full, wallpaperDir) ||
        StartsWithIgnoreCase(full, wallpaperDir + "\\"))
      return InstallFolderVerdict::kShared;
  }
  return InstallFolderVerdict::kUsable;
}

}  // namespace zarvane
