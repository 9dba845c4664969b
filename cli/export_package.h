#pragma once
// The package a live-wallpaper program imports: the preview folder with its page as index.html,
// the player's files for today's browsers only, a script that serves the files the player
// fetches from memory (a page opened from file:// may not fetch even the files beside it), a
// thumbnail and the program's manifest.
#include <string>
#include <vector>

#include "project_records.h"

namespace zarvane {

extern const char kPlayerFilesScriptName[];
extern const char kThumbnailName[];

struct ExportSources {
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  SettingsBoxSettings settingsBox;
  std::string installedPage;
};

// A name the package gives a file of its own beside the page (letter case ignored, as the
// programs' Windows sees names): a resource file of that name would be lost.
bool IsPackagesOwnName(const std::string& name);

// Writes the package's common files into `folder` (new, ending in a separator); gives the
// page's path, or empty with the reason in `error`. The thumbnail and manifest come after.
std::string WriteExportFolder(const std::string& folder, const ExportSources& sources,
                              const std::string& playerFolder, std::string& error);

// The picture that stands for the wallpaper in the program's list, and what it is.
struct Thumbnail {
  std::string png;
  std::string what;
  std::string movieFailure;  // the player's words when it could not play the movie
};
// A shot of the page playing when `browser` is there, else a plain picture of the background
// colour. `work` is a private folder for the browser.
Thumbnail ChooseThumbnail(const std::string& browser, const std::string& page,
                          const ExportSources& sources, const std::string& work);

// A PNG of one colour (red in the low byte).
std::string PlainPicturePng(unsigned colour, int width, int height);

// The manifests, in UTF-8.
std::string LivelyInfoText(const ExportSources& sources);
std::string WallpaperEngineProjectText(const ExportSources& sources);

// Every file under `folder` by its path relative to it ("/" between folders), sorted.
std::vector<std::string> FilesUnder(const std::string& folder);

// The file:// address of a local file.
std::string PageUrl(const std::string& path);

}  // namespace zarvane
