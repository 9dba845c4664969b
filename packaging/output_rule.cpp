#include "output_rule.h"

#include <cstring>

#include "archive_file.h"
#include "archive_format.h"
#include "build_checks.h"
#include "path_words.h"
#include "tab_rules.h"
#include "text.h"
#include "wallpaper_words.h"

namespace zarvane {
namespace {

// The folders that hold `path`, innermost first, with "." and ".." parts resolved first: a
// folder that only a ".." passes through holds nothing.
std::vector<std::string> FoldersHolding(const std::string& path) {
  std::string root;
  const std::vector<std::string> parts = ResolvedParts(path, root);
  std::vector<std::string> folders;
  std::string folder = root;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    folder += (i ? "/" : "") + parts[i];
    folders.insert(folders.begin(), folder);
  }
  if (!root.empty()) folders.push_back(root);
  return folders;
}

}  // namespace

std::vector<std::string> ProjectInputs(ProjectTabs& tabs, const std::string& projectFile) {
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  SettingsBoxSettings settingsBox;
  InstallerSettings installer;
  tabs.GetWallpaper(wallpaper);
  tabs.GetPreview(preview);
  tabs.GetSettingsBox(settingsBox);
  tabs.GetInstaller(installer);
  std::vector<std::string> files;
  SplitFileList(wallpaper.resourceFiles, files);
  for (const std::string& file :
       {projectFile, wallpaper.movieFile, wallpaper.backgroundImage, wallpaper.stillImage,
        preview.imageFile, settingsBox.movieOrImageFile, installer.movieOrImageFile,
        installer.licenseFile})
    files.push_back(file);
  std::vector<std::string> named;
  for (const std::string& file : files)
    if (!Trim(file).empty()) named.push_back(Trim(file));
  return named;
}

int OutputRefusal(const std::string& output, const std::vector<std::string>& inputs,
                  OutputKind kind) {
  for (const std::string& input : inputs) {
    if (input.empty()) continue;
    if (SameFile(input, output)) return 71;
    for (const std::string& folder : FoldersHolding(input))
      if (SameFile(folder, output)) return 71;
  }
  if (kind == OutputKind::kFile && IsNonFileAt(output)) return 72;
  return 0;
}

std::string OutputRefusalText(int message, const std::string& output) {
  std::string text = ToolMessage(message);
  std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, output);
  return text;
}

bool IsInstallerFile(const std::string& path) {
  ArchiveFile file;
  if (!file.OpenRead(path)) return false;
  std::int64_t size = file.Size();
  char end[kArchiveMarkerSize];
  return size >= static_cast<std::int64_t>(kArchiveTrailerSize) &&
         file.Seek(size - static_cast<std::int64_t>(kArchiveMarkerSize)) &&
         file.Read(end, sizeof end) == sizeof end &&
         std::memcmp(end, kArchiveMarker, kArchiveMarkerSize) == 0;
}

}  // namespace zarvane
