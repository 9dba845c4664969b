#include "headless_tabs.h"

#include <vector>

#include "path_words.h"
#include "text.h"

namespace zarvane {

bool HeadlessTabs::GetWallpaper(WallpaperSettings& record) {
  record = GetWallpaperControls(wallpaper);
  return true;
}

bool HeadlessTabs::GetPreview(PreviewSettings& record) {
  record = GetPreviewControls(preview);
  return true;
}

bool HeadlessTabs::GetSettingsBox(SettingsBoxSettings& record) {
  record = GetSettingsBoxControls(settingsBox);
  return true;
}

bool HeadlessTabs::GetInstaller(InstallerSettings& record) {
  GetInstallerControls(installer, record);
  return true;
}

bool HeadlessTabs::SetWallpaper(const WallpaperSettings& record) {
  SetWallpaperControls(wallpaper, record);
  return true;
}

bool HeadlessTabs::SetPreview(const PreviewSettings& record) {
  SetPreviewControls(preview, record);
  return true;
}

bool HeadlessTabs::SetSettingsBox(const SettingsBoxSettings& record) {
  SetSettingsBoxControls(settingsBox, record);
  return true;
}

bool HeadlessTabs::SetInstaller(const InstallerSettings& record) {
  SetInstallerControls(installer, record);
  return true;
}

TabVerdict HeadlessTabs::Validate(ProjectTab tab) {
  switch (tab) {
    case ProjectTab::kWallpaper: return ValidateWallpaperTab(wallpaper, previewing);
    case ProjectTab::kPreviewWindow: return ValidatePreviewTab(preview);
    case ProjectTab::kSettingsWindow: return ValidateSettingsTab(settingsBox);
    case ProjectTab::kInstaller: return ValidateInstallerTab(installer);
  }
  return {};
}

bool IsRelativePath(const std::string& path) {
  std::string p = Trim(path);
  if (p.empty() || IsPathSeparator(p[0])) return false;
  if (p.size() >= 2 && p[1] == ':') return false;
  return true;
}

namespace {

void Resolve(std::string& path, const std::string& folder) {
  if (IsRelativePath(path)) path = folder + Trim(path);
}

}  // namespace

void HeadlessTabs::ResolvePathsAgainst(const std::string& folder) {
  Resolve(wallpaper.movieFile, folder);
  Resolve(wallpaper.backgroundImage, folder);
  Resolve(wallpaper.stillImage, folder);
  std::vector<std::string> items;
  SplitFileList(wallpaper.resourceFiles, items);
  std::string list;
  for (std::string& item : items) {
    Resolve(item, folder);
    list += item + ";";
  }
  if (!items.empty()) wallpaper.resourceFiles = list;
  Resolve(preview.imageFile, folder);
  Resolve(settingsBox.movieOrImageFile, folder);
  Resolve(installer.installerPath, folder);
  Resolve(installer.picturePath, folder);
  Resolve(installer.licencePath, folder);
}

}  // namespace zarvane
