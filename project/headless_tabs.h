#pragma once
// The four tabs without windows: the command-line tool's project and the tests' stand-in for
// the authoring tool. It holds the controls' state and applies the tabs' own rules to it.
#include <string>

#include "project_tabs.h"
#include "tab_rules.h"

namespace zarvane {

class HeadlessTabs : public ProjectTabs {
 public:
  bool GetWallpaper(WallpaperSettings& record) override;
  bool GetPreview(PreviewSettings& record) override;
  bool GetSettingsBox(SettingsBoxSettings& record) override;
  bool GetInstaller(InstallerSettings& record) override;
  bool SetWallpaper(const WallpaperSettings& record) override;
  bool SetPreview(const PreviewSettings& record) override;
  bool SetSettingsBox(const SettingsBoxSettings& record) override;
  bool SetInstaller(const InstallerSettings& record) override;

  TabVerdict Validate(ProjectTab tab);

  // Relative paths are taken from `folder` (the project file's folder, with its separator).
  void ResolvePathsAgainst(const std::string& folder);

  WallpaperControls wallpaper;
  PreviewControls preview;
  SettingsBoxControls settingsBox;
  InstallerControls installer;
  bool previewing = false;
};

// A path that names no drive or root is relative.
bool IsRelativePath(const std::string& path);

}  // namespace zarvane
