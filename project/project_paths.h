#pragma once
// A project's paths stay as the author wrote them; a relative one means "from the project file's
// folder" and is taken from there only where a file is used: the checks, the preview, a build.
#include <string>

#include "project_tabs.h"

namespace zarvane {

// `path` taken from `folder` (with its separator) when relative; as it stands otherwise, and
// always while the project has no folder (never saved).
std::string PathFrom(const std::string& folder, const std::string& path);

void ResolvePaths(WallpaperSettings& wallpaper, const std::string& folder);
void ResolvePaths(PreviewSettings& preview, const std::string& folder);
void ResolvePaths(SettingsBoxSettings& settingsBox, const std::string& folder);
void ResolvePaths(InstallerSettings& installer, const std::string& folder);

// The tabs as a build reads them: every path taken from `folder`. What is set passes unchanged.
class ResolvedTabs : public ProjectTabs {
 public:
  explicit ResolvedTabs(ProjectTabs& tabs) : tabs_(tabs) {}
  void SetFolder(const std::string& folder) { folder_ = folder; }

  bool GetWallpaper(WallpaperSettings& record) override;
  bool GetPreview(PreviewSettings& record) override;
  bool GetSettingsBox(SettingsBoxSettings& record) override;
  bool GetInstaller(InstallerSettings& record) override;
  bool SetWallpaper(const WallpaperSettings& record) override { return tabs_.SetWallpaper(record); }
  bool SetPreview(const PreviewSettings& record) override { return tabs_.SetPreview(record); }
  bool SetSettingsBox(const SettingsBoxSettings& record) override {
    return tabs_.SetSettingsBox(record);
  }
  bool SetInstaller(const InstallerSettings& record) override { return tabs_.SetInstaller(record); }

 private:
  ProjectTabs& tabs_;
  std::string folder_;
};

}  // namespace zarvane
