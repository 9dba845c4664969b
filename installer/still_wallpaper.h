#pragma once
// The installer's side of the still picture: its record in Uninstall.ini, putting the recorded
// image wallpaper back, and whether this desktop needs the Flash control at all.
#include <string>
#include <vector>

#include "desktop_wallpaper.h"
#include "run_log.h"

namespace zarvane {

// The image wallpaper the still picture `still` replaces, given the one the desktop showed
// before: installed over itself, the desktop shows our own picture, and then the first of
// `earlierRecords` that holds a record knows the user's wallpaper.
ImageWallpaperState PreviousImageWallpaper(const std::string& still,
                                           const ImageWallpaperState& shown,
                                           const std::vector<std::string>& earlierRecords);

// Writes the still picture and the image wallpaper it replaced into the Uninstall.ini `ini`;
// nothing when `still` is empty (the page is shown). False when a value was not written.
bool WriteStillRecord(const std::string& ini, const std::string& still,
                      const ImageWallpaperState& previous);

// Uninstalling the wallpaper whose record is `ini`: another installed wallpaper that replaced
// this one's page or still picture on the desktop takes over what this one replaced, so that it
// never puts back a file that is gone. True when one did: the desktop is then that one's.
bool PassOnPrevious(const std::string& ini, const std::vector<std::string>& otherRecords,
                    RunLog& log);

// Puts back the image wallpaper the Uninstall.ini `ini` records; nothing when it records none.
void RestoreRecordedImageWallpaper(const std::string& ini, DesktopWallpaper& wallpaper,
                                   RunLog& log);

// False where the desktop shows no page (Windows 6 and later, or an Active Desktop that cannot
// be created or answer), so a missing Flash control stops nothing; `why` says which.
bool DesktopNeedsFlashControl(std::string& why);

}  // namespace zarvane
