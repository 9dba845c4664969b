#pragma once
// The wallpaper on the author's own desktop under the name "ZarvanePreview", and the way back.
// One object lives as long as the wallpaper page: its DesktopWallpaper remembers the desktop's
// own wallpaper between Start and Cancel. The wallpaper to give back and the files the preview
// made are also kept in the tool's settings until Cancel, so that a run that ended without
// Cancel (a crash, a kill) is undone at the next start.
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
  // folder, page and resource copies, and the page on the desktop. False when the preview did
  // not start (said so already): the desktop is as it was and the main window restored.
  bool Start(HWND mainWindow, const WallpaperSettings& wallpaper, const PreviewSettings& preview);
  // The remembered wallpaper back on the desktop; the preview's folder, page and the resource
  // copies the preview made are removed. Before the desktop was touched, nothing is restored.
  void Cancel();
  // A preview left by a run that ended without Cancel: its wallpaper back (unless the desktop
  // shows another by now) and its files removed. Only while no other copy of the tool runs.
  void UndoLeftOver();

  const DesktopWallpaper& Wallpaper() const { return wallpaper_; }

 private:
  bool ShowOnDesktop(const WallpaperSettings& wallpaper, const PreviewSettings& preview);
  std::string CopyResources(const std::string& resourceFiles);
  std::string PagePath() const;
  std::wstring CurrentWallpaper();
  void Forget();
  void RememberImageWallpaper();
  void GiveImageWallpaperBack();

  MessageBoxPrompt prompt_{"Zarvane"};  // the desktop's complaints, over the main window
  DesktopShell& shell_;
  DesktopWallpaper wallpaper_;
  ToolSettings& settings_;
  bool ownFolder_ = false;  // the files go to the user's own folder, not under Windows
  bool shown_ = false;      // the desktop shows the page: Cancel gives the wallpaper back
  bool abandoned_ = false;  // cancelled (the session ended) while the warning was open
  // The desktop showed a preview page already (another copy's): its recorded wallpaper is the
  // one to give back, never the page.
  bool pageWasShown_ = false;
  std::string previous_;
};

}  // namespace zarvane
