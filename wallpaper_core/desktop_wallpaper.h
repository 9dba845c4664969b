#pragma once
// One wallpaper: its name, sources, display settings, the files it makes under the Windows
// folder's Web\WallPaper and the desktop wallpaper it replaced. Operations report 1 or 0.
#include <string>

#include "desktop_shell.h"
#include "image_wallpaper.h"
#include "user_prompt.h"
#include "wallpaper_page.h"

namespace zarvane {

class DesktopWallpaper {
 public:
  static constexpr unsigned kSavedCapacity = 1024;  // wide characters, terminator included
  static constexpr char kReplaceQuestion[] = "Wallpaper Exists..Do you want to Replace?";

  // windowsDir without trailing backslash; by default the machine's own.
  DesktopWallpaper(DesktopShell& shell, UserPrompt& prompt);
  DesktopWallpaper(DesktopShell& shell, UserPrompt& prompt, std::string windowsDir);

  int SetName(const std::string& name);
  int SetMovieFile(const std::string& path);
  int SetImageFile(const std::string& path);
  int SetBackgroundImage(const std::string& path);
  int SetBackgroundColour(Colour colour);
  int SetResourceFiles(const std::string& list);
  int SetQuality(const std::string& word);
  int SetLoop(const std::string& word);
  int SetAlignment(const std::string& hAlign, const std::string& vAlign);
  int SetBackgroundPosition(const std::string& word);
  int SetScale(const std::string& word);
  int SetReplaceSilently(int flag);
  int SetFolder(const std::string& folder);
  // Another folder for the page, its folder and the resource files (with its trailing
  // backslash): the preview's own where the desktop shows no page.
  void SetWallpaperDir(const std::string& folder) { wallpaperDir_ = folder; }

  const std::string& GetFolder() const { return folder_; }
  const std::string& GetWallpaperDir() const { return wallpaperDir_; }
  const std::string& GetPagePath() const { return pagePath_; }
  // Copies savedWallpaper with its terminator into a buffer of kSavedCapacity; 0 for null.
  int GetSavedWallpaper(wchar_t* buffer) const;
  const std::wstring& SavedWallpaper() const { return savedWallpaper_; }

  // Files under the wallpaper directory.
  std::string PrepareFolder();
  int CopyFiles();
  int WritePage(const std::string& path);
  int Delete();
  int DeleteResources();

  // The desktop. Where it cannot show the page (Windows 6 and later, or an Active Desktop call
  // that fails), Apply sets a still picture as the image wallpaper instead and Restore puts the
  // image wallpaper it replaced back.
  void PrepareDesktop();
  // Writes the page and shows it or the still picture; 0, with the desktop untouched, when the
  // page could not be written.
  int Apply();
  // Shows the page already written beside the folder, or the still picture (see StageStill).
  int Show();
  // True when Show will take the still-picture way unless the Active Desktop refuses the page.
  bool StillExpected();
  // Writes the still picture as `folder` + name + "_Still.bmp" ahead of Show, for a folder that
  // is to become the wallpaper's folder: Show then shows that file instead of writing one.
  bool StageStill(const std::string& folder);
  // Where Show puts or finds the still picture.
  std::string StillPathInFolder() const;
  int Restore(const std::string& path);

  // The still picture: this image (any size), else one composed at the screen's size.
  int SetStillImage(const std::string& path);
  // The still image is a frame of the movie (instcfg.ini StillFromMovie): it goes on the
  // desktop as one picture at the screen's size, centred over the background colour or
  // stretched where the background stretches.
  int SetStillFromMovie(int flag);
  void UseImageWallpaper(ImageWallpaper& image) { image_ = &image; }
  // True when Apply set the page or the still picture; false: the desktop is unchanged.
  bool DesktopChanged() const { return pageShown_ || stillShown_; }
  bool StillShown() const { return stillShown_; }
  const std::string& StillPath() const { return stillPath_; }
  // The image wallpaper recorded before the still picture replaced it.
  const ImageWallpaperState& SavedImageWallpaper() const { return savedImage_; }
  // Which way Apply went, and why: for the installer's log.
  const std::string& DesktopRoute() const { return route_; }
  // Puts a recorded image wallpaper back (the uninstaller's record, the preview's own).
  int RestoreImageWallpaper(const ImageWallpaperState& state);

  // Writes bitmap resource `bitmapId` (233 or 234) as a .bmp file to `path`, or to
  // folder + name + "_Preview.bmp" when path is empty; gives the path back.
  std::string MakePreviewBitmap(const std::string& path, int bitmapId);

 private:
  bool NameIsSafe() const;
  bool PageCanShow();
  bool ApplyStill();
  bool WriteStill(const std::string& path);
  WallpaperPageFields PageFields() const;

  DesktopShell& shell_;
  UserPrompt& prompt_;
  std::wstring savedWallpaper_ = L"None";
  std::string name_;
  std::string windowsDir_;
  std::string wallpaperDir_;
  std::string folder_;
  std::string pagePath_;
  std::string resourceFiles_;
  int replaceSilently_ = 0;
  std::string movieSource_, imageSource_, backgroundSource_;
  std::string movieCopy_, imageCopy_, backgroundCopy_;
  Colour backgroundColour_ = 0xFFFFFF;
  std::string quality_, loop_, hAlign_, vAlign_, backgroundPosition_, scale_;
  ImageWallpaper* image_ = &SystemImageWallpaper();
  std::string stillSource_, stillPath_, route_;
  std::string stillNotes_;  // what writing the still picture met, for the route
  bool stillFromMovie_ = false;
  bool stillIsMovieFrame_ = false;  // what WriteStill last wrote
  bool activeDesktopFailed_ = false;
  bool pageShown_ = false, stillShown_ = false, stillStaged_ = false;
  ImageWallpaperState savedImage_;
};

}  // namespace zarvane
