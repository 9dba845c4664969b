#pragma once
// The installer's side of the still picture: its record in Uninstall.ini, putting the recorded
// image wallpaper back, and whether this desktop needs the Flash control at all.
#include <string>
#include <vector>

#include "desktop_wallpaper.h"
#include "run_log.h"

namespace zarvane {

// Writes the still picture and the image wallpaper it replaced into the Uninstall.ini `ini`;
// nothing when the page was shown. Installed over itself, the desktop shows our own picture:
// then the first of `earlierRecords` that holds a record knows the user's wallpaper. False when
// a value was not written.
bool WriteStillRecord(const std::string& ini, const DesktopWallpaper& wallpaper,
                      const std::vector<std::string>& earlierRecords);

// Puts back the image wallpaper the Uninstall.ini `ini` records; nothing when it records none.
void RestoreRecordedImageWallpaper(const std::string& ini, DesktopWallpaper& wallpaper,
                                   RunLog& log);

// False where the desktop shows no page (Windows 6 and later, or an Active Desktop that cannot
// be created or answer), so a missing Flash control stops nothing; `why` says which.
bool DesktopNeedsFlashControl(std::string& why);

}  // namespace zarvane
