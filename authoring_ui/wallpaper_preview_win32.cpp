#include "wallpaper_preview.h"

#include <vector>

#include "path_words.h"
#include "preview_bitmap.h"
#include "preview_warning_dialog.h"
#include "wallpaper_words.h"

namespace zarvane {

WallpaperPreview::WallpaperPreview(DesktopShell& shell, ToolSettings& settings)
    : wallpaper_(shell, prompt_), settings_(settings) {}

void WallpaperPreview::Start(HWND mainWindow, const WallpaperSettings& wallpaper,
                             const PreviewSettings& preview) {
  prompt_.SetOwner(mainWindow);
  PreviewWarningDialog(settings_).RunModal(mainWindow);
  if (mainWindow) ShowWindow(mainWindow, SW_MINIMIZE);
  ShowOnDesktop(wallpaper, preview);
}

void WallpaperPreview::ShowOnDesktop(const WallpaperSettings& wallpaper,
                                     const PreviewSettings& preview) {
  wallpaper_.PrepareDesktop();
  wallpaper_.SetMovieFile(wallpaper.movieFile);
  wallpaper_.SetName(kName);
  wallpaper_.SetImageFile(preview.imageFile);
  wallpaper_.SetBackgroundImage(wallpaper.backgroundImage);
  wallpaper_.SetBackgroundColour(ColourFromText(wallpaper.colourText));
  wallpaper_.SetAlignment(wallpaper.hAlign, wallpaper.vAlign);
  wallpaper_.SetQuality(wallpaper.quality);
  wallpaper_.SetScale(wallpaper.movieSize);
  wallpaper_.SetBackgroundPosition(wallpaper.backgroundPosition);
  wallpaper_.SetLoop(wallpaper.loop == 1 ? "TRUE" : "FALSE");
  wallpaper_.SetReplaceSilently(1);
  wallpaper_.PrepareFolder();
  std::string image = preview.showImage == 0
                          ? wallpaper_.MakePreviewBitmap("", kDefaultPreviewBitmap)
                          : preview.imageFile;
  wallpaper_.SetImageFile(image);
  wallpaper_.CopyFiles();
  wallpaper_.Apply();
  CopyResources(wallpaper.resourceFiles);
}

// Beside the page under their bare names, never over a file that is there already: Cancel
// removes exactly the copies listed here.
void WallpaperPreview::CopyResources(const std::string& resourceFiles) {
  std::vector<std::string> files;
  SplitFileList(resourceFiles, files);
  std::string created;
  for (const std::string& file : files) {
    std::string bare = BareName(file);
    if (bare.empty()) continue;
    std::string copy = wallpaper_.GetWallpaperDir() + bare;
    if (CopyFileA(file.c_str(), copy.c_str(), TRUE)) created += bare + ";";
  }
  wallpaper_.SetResourceFiles(created);
}

void WallpaperPreview::Cancel() {
  wallpaper_.Restore("");
  wallpaper_.Delete();
}

}  // namespace zarvane
