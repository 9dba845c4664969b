#pragma once
// The seam between the project file and whatever shows the project: the four tabs of the
// authoring tool, the command-line tool's headless tabs, tests. A tab may refuse (false).
#include "project_records.h"

namespace zarvane {

enum class ProjectTab { kWallpaper, kPreviewWindow, kSettingsWindow, kInstaller };

class ProjectTabs {
 public:
  virtual ~ProjectTabs() = default;
  virtual bool GetWallpaper(WallpaperSettings& record) = 0;
  virtual bool GetPreview(PreviewSettings& record) = 0;
  virtual bool GetSettingsBox(SettingsBoxSettings& record) = 0;
  virtual bool GetInstaller(InstallerSettings& record) = 0;
  virtual bool SetWallpaper(const WallpaperSettings& record) = 0;
  virtual bool SetPreview(const PreviewSettings& record) = 0;
  virtual bool SetSettingsBox(const SettingsBoxSettings& record) = 0;
  virtual bool SetInstaller(const InstallerSettings& record) = 0;
};

}  // namespace zarvane
