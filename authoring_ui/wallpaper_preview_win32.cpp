#include "wallpaper_preview.h"

#include <vector>

#include "file_system.h"
#include "image_wallpaper.h"
#include "path_words.h"
#include "preview_bitmap.h"
#include "preview_warning_dialog.h"
#include "text.h"
#include "wallpaper_words.h"

namespace zarvane {
namespace {

// The tool's settings values that outlive a run which ended while previewing.
constexpr char kRestoreValue[] = "PreviewRestore";
constexpr char kFilesValue[] = "PreviewFiles";
// The image wallpaper a still picture replaced: the picture, then the three values it changed.
constexpr char kStillValue[] = "PreviewStill";
constexpr char kImageValue[] = "PreviewImageWallpaper";
constexpr char kStyleValue[] = "PreviewImageStyle";
constexpr char kTileValue[] = "PreviewImageTile";
constexpr char kAbsent[] = "<absent>";

// Each missing level of `folder` (ending in a backslash).
void MakeFolderPath(const std::string& folder) {
  for (std::string::size_type at = folder.find('\\', 3); at != std::string::npos;
       at = folder.find('\\', at + 1))
    CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
}

}  // namespace

WallpaperPreview::WallpaperPreview(DesktopShell& shell, ToolSettings& settings)
    : shell_(shell), wallpaper_(shell, prompt_), settings_(settings) {
  // Where the desktop shows no page, only the still picture matters, and a program started
  // normally may not write under the Windows folder there: the preview's files are the user's own.
  const std::string own = LocalAppDataFolder();
  ownFolder_ = SystemImageWallpaper().WindowsMajorVersion() >= 6 && !own.empty();
  if (ownFolder_) wallpaper_.SetWallpaperDir(own + "Zarvane\\Preview\\");
}

std::string WallpaperPreview::PagePath() const {
  return wallpaper_.GetWallpaperDir() + kName + ".htm";
}

std::wstring WallpaperPreview::CurrentWallpaper() {
  std::wstring shown;
  shell_.InitializeCom();
  if (shell_.CreateActiveDesktop()) {
    shell_.GetWallpaper(shown, DesktopWallpaper::kSavedCapacity);
    shell_.ReleaseActiveDesktop();
  }
  shell_.UninitializeCom();
  return shown;
}

bool WallpaperPreview::Start(HWND mainWindow, const WallpaperSettings& wallpaper,
                             const PreviewSettings& preview) {
  prompt_.SetOwner(mainWindow);
  abandoned_ = false;
  PreviewWarningDialog(settings_).RunModal(mainWindow);
  if (abandoned_) return false;
  if (mainWindow) ShowWindow(mainWindow, SW_MINIMIZE);
  if (ShowOnDesktop(wallpaper, preview)) return true;
  if (mainWindow) ShowWindow(mainWindow, SW_RESTORE);
  return false;
}

bool WallpaperPreview::ShowOnDesktop(const WallpaperSettings& wallpaper,
                                     const PreviewSettings& preview) {
  // As the installer does: desktop settings that cannot be read are said, and the preview goes
  // on as the still picture.
  wallpaper_.PrepareDesktop();
  pageWasShown_ = EqualsIgnoreCase(NarrowAnsi(wallpaper_.SavedWallpaper()), PagePath());
  if (pageWasShown_) {
    if (!settings_.ReadText(kRestoreValue, previous_)) previous_ = "None";
  } else {
    settings_.WriteText(kRestoreValue, NarrowAnsi(wallpaper_.SavedWallpaper()));
  }
  wallpaper_.SetMovieFile(wallpaper.movieFile);
  wallpaper_.SetName(kName);
  wallpaper_.SetImageFile(preview.imageFile);
  wallpaper_.SetBackgroundImage(wallpaper.backgroundImage);
  wallpaper_.SetBackgroundColour(ColourFromText(wallpaper.colourText));
  wallpaper_.SetAlignment(wallpaper.hAlign, wallpaper.vAlign);
  wallpaper_.SetQuality(wallpaper.quality);
  wallpaper_.SetScale(wallpaper.movieSize);
  wallpaper_.SetBackgroundPosition(wallpaper.backgroundPosition);
  wallpaper_.SetStillImage(wallpaper.stillImage);
  wallpaper_.SetLoop(wallpaper.loop == 1 ? "TRUE" : "FALSE");
  wallpaper_.SetReplaceSilently(1);
  if (ownFolder_) MakeFolderPath(wallpaper_.GetWallpaperDir());
  wallpaper_.PrepareFolder();
  std::string image = preview.showImage == 0
                          ? wallpaper_.MakePreviewBitmap("", kDefaultPreviewBitmap)
                          : preview.imageFile;
  wallpaper_.SetImageFile(image);
  wallpaper_.CopyFiles();
  // Beside the page before it goes on the desktop, as the installer does: the movie finds them
  // from its first frame on.
  std::string created = CopyResources(wallpaper.resourceFiles);
  std::string recorded;
  settings_.ReadText(kFilesValue, recorded);
  settings_.WriteText(kFilesValue, recorded + created);
  // A page that could not be written must not become the desktop: it would show nothing.
  if (!wallpaper_.WritePage(PagePath())) {
    prompt_.Show("Error",
                 "Unable to write the preview page '" + PagePath() +
                     "'.\nCheck if the folder exists and appropriate user rights are set to "
                     "the folder. ",
                 MB_OK | MB_ICONEXCLAMATION);
    wallpaper_.Delete();
    if (!pageWasShown_) Forget();
    return false;
  }
  RememberImageWallpaper();
  wallpaper_.Apply();
  shown_ = true;
  return true;
}

// Before the still picture may replace it, so that a tool that ended while previewing can give
// it back on its next start.
void WallpaperPreview::RememberImageWallpaper() {
  const std::string still = wallpaper_.GetFolder() + kName + "_Still.bmp";
  ImageWallpaperState now;
  if (!SystemImageWallpaper().Read(now) || EqualsIgnoreCase(now.wallpaper, still)) return;
  settings_.WriteText(kImageValue, now.wallpaper);
  settings_.WriteText(kStyleValue, now.hasStyle ? now.style : kAbsent);
  settings_.WriteText(kTileValue, now.hasTile ? now.tile : kAbsent);
  settings_.WriteText(kStillValue, still);
}

void WallpaperPreview::GiveImageWallpaperBack() {
  std::string still;
  ImageWallpaperState saved, now;
  if (!settings_.ReadText(kStillValue, still) || !settings_.ReadText(kImageValue, saved.wallpaper) ||
      !settings_.ReadText(kStyleValue, saved.style) || !settings_.ReadText(kTileValue, saved.tile))
    return;
  saved.hasStyle = saved.style != kAbsent;
  saved.hasTile = saved.tile != kAbsent;
  if (!saved.hasStyle) saved.style.clear();
  if (!saved.hasTile) saved.tile.clear();
  // An author who chose another wallpaper since keeps it.
  if (SystemImageWallpaper().Read(now) && EqualsIgnoreCase(now.wallpaper, still))
    wallpaper_.RestoreImageWallpaper(saved);
}

// Beside the page under their bare names, never over a file that is there already: Cancel
// removes exactly the copies listed here.
std::string WallpaperPreview::CopyResources(const std::string& resourceFiles) {
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
  return created;
}

void WallpaperPreview::Cancel() {
  if (!shown_) {
    abandoned_ = true;  // nothing on the desktop changed yet
    return;
  }
  wallpaper_.Restore(pageWasShown_ ? previous_ : std::string());
  wallpaper_.Delete();
  Forget();
  shown_ = false;
}

void WallpaperPreview::Forget() {
  settings_.DeleteValue(kRestoreValue);
  settings_.DeleteValue(kFilesValue);
  for (const char* value : {kStillValue, kImageValue, kStyleValue, kTileValue})
    settings_.DeleteValue(value);
}

void WallpaperPreview::UndoLeftOver() {
  std::string previous, files;
  if (!settings_.ReadText(kRestoreValue, previous)) return;
  settings_.ReadText(kFilesValue, files);
  // An author who chose another wallpaper since keeps it.
  if (EqualsIgnoreCase(NarrowAnsi(CurrentWallpaper()), PagePath())) wallpaper_.Restore(previous);
  GiveImageWallpaperBack();
  wallpaper_.SetFolder(wallpaper_.GetWallpaperDir() + kName + "\\");
  wallpaper_.SetResourceFiles(files);
  wallpaper_.Delete();
  RemoveFile(PagePath());
  Forget();
}

}  // namespace zarvane
