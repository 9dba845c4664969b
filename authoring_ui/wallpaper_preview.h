#pragma once
// The wallpaper on the author's own desktop under the name "ZarvanePreview", and the way back.
// One object lives as long as the wallpaper page: its DesktopWallpaper remembers the desktop's
// own wallpaper between Start and Cancel.
#include <windows.h>

#include <string>

#include "desktop_wallpaper.h"
#include "message_box_prompt.h"
#include "project_records.h"
#include "tool_settings.h"

namespace zarvane {

class WallpaperPreview {
 public:
  static constexpr const char* kName = "ZarvanePreview";

  WallpaperPreview(DesktopShell& shell, ToolSettings& settings);

  // After the page's checks passed: the warning, the main window minimised, then the preview
  // folder, page and resource copies, and the page on the desktop.
  void Start(HWND mainWindow, const WallpaperSettings& wallpaper, const PreviewSettings& preview);
  // The remembered wallpaper back on the desktop; the preview's folder, page and the resource
  // copies the preview made are removed.
  void Cancel();

  const DesktopWallpaper& Wallpaper() const { return wallpaper_; }

 private:
  void ShowOnDesktop(const WallpaperSettings& wallpaper, const PreviewSettings& preview);
  void CopyResources(const std::string& resourceFiles);

  MessageBoxPrompt prompt_{"Zarvane"};  // the desktop's complaints, over the main window
  DesktopWallpaper wallpaper_;
  ToolSettings& settings_;
};

}  // namespace zarvane
