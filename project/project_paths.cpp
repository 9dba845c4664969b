#include "project_paths.h"

#include <vector>

#include "headless_tabs.h"
#include "text.h"
#include "wallpaper_words.h"

namespace zarvane {

std::string PathFrom(const std::string& folder, const std::string& path) {
  return !folder.empty() && IsRelativePath(path) ? folder + Trim(path) : path;
}

void ResolvePaths(WallpaperSettings& wallpaper, const std::string& folder) {
  wallpaper.movieFile = PathFrom(folder, wallpaper.movieFile);
  wallpaper.backgroundImage = PathFrom(folder, wallpaper.backgroundImage);
  wallpaper.stillImage = PathFrom(folder, wallpaper.stillImage);
  std::vector<std::string> items;
  SplitFileList(wallpaper.resourceFiles, items);
  if (folder.empty() || items.empty()) return;
  std::string list;
  for (const std::string& item : items) list += PathFrom(folder, item) + ";";
  wallpaper.resourceFiles = list;
}

void ResolvePaths(PreviewSettings& preview, const std::string& folder) {
  preview.imageFile = PathFrom(folder, preview.imageFile);
}

void ResolvePaths(SettingsBoxSettings& settingsBox, const std::string& folder) {
  settingsBox.movieOrImageFile = PathFrom(folder, settingsBox.movieOrImageFile);
}

void ResolvePaths(InstallerSettings& installer, const std::string& folder) {
  installer.installerFilePath = PathFrom(folder, installer.installerFilePath);
  installer.movieOrImageFile = PathFrom(folder, installer.movieOrImageFile);
  installer.licenseFile = PathFrom(folder, installer.licenseFile);
}

bool ResolvedTabs::GetWallpaper(WallpaperSettings& record) {
  if (!tabs_.GetWallpaper(record)) return false;
  ResolvePaths(record, folder_);
  return true;
}

bool ResolvedTabs::GetPreview(PreviewSettings& record) {
  if (!tabs_.GetPreview(record)) return false;
  ResolvePaths(record, folder_);
  return true;
}

bool ResolvedTabs::GetSettingsBox(SettingsBoxSettings& record) {
  if (!tabs_.GetSettingsBox(record)) return false;
  ResolvePaths(record, folder_);
  return true;
}

bool ResolvedTabs::GetInstaller(InstallerSettings& record) {
  if (!tabs_.GetInstaller(record)) return false;
  ResolvePaths(record, folder_);
  return true;
}

}  // namespace zarvane
