#pragma once
// The preview folder: the wallpaper page as an installation writes it, the files it names, the
// web Flash player's files and an option script that adapts the page to a modern browser.
#include <string>

#include "project_records.h"

namespace zarvane {

extern const char kPreviewOptionScript[];
extern const char kUtf8Declaration[];
// The player's files as the build fetched them; empty in a build that carries none.
extern const char kPreviewPlayerFolder[];

// The installed page with the lines that load the option script and the player added just
// before its body ends; outside Windows a page with names beyond ASCII is in UTF-8 and says
// so in a line after its first. Nothing else differs.
std::string PreviewPageText(const std::string& installedPage);

// Writes the folder into `folder` (which ends in a separator and exists); gives the page's path,
// or empty with the reason in `error`.
std::string WritePreviewFolder(const std::string& folder, const std::string& installedPage,
                               const WallpaperSettings& wallpaper, const PreviewSettings& preview,
                               const std::string& playerFolder, std::string& error);

// The preview folder in a private place of the run, photographed by `browser` at `width` x
// `height` once the movie has played `playSeconds`, and gone again. The PNG in `png`, or why
// not in `error`.
bool ShootWallpaperPage(const std::string& browser, const std::string& installedPage,
                        const WallpaperSettings& wallpaper, const PreviewSettings& preview,
                        int width, int height, double playSeconds, std::string& png,
                        std::string& error);

// A number of seconds from 0 to 600, as the command line gives it; false for anything else.
bool ParseSeconds(const std::string& text, double& seconds);

}  // namespace zarvane
