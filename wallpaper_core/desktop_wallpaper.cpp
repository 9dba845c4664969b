#include "desktop_wallpaper.h"

#include <cstring>
#include <vector>

#include "file_system.h"
#include "path_words.h"
#include "preview_bitmap.h"
#include "still_picture.h"
#include "text.h"
#include "wallpaper_name_rule.h"

namespace zarvane {
namespace {

const wchar_t kNoWallpaper[] = L"None";

// The shell hands over at most capacity - 1 characters.
std::wstring Capped(std::wstring text) {
  if (text.size() >= DesktopWallpaper::kSavedCapacity)
    text.resize(DesktopWallpaper::kSavedCapacity - 1);
  return text;
}

}  // namespace

DesktopWallpaper::DesktopWallpaper(DesktopShell& shell, UserPrompt& prompt)
    : DesktopWallpaper(shell, prompt, WindowsDirectory()) {}

DesktopWallpaper::DesktopWallpaper(DesktopShell& shell, UserPrompt& prompt, std::string windowsDir)
    : shell_(shell),
      prompt_(prompt),
      windowsDir_(std::move(windowsDir)),
      wallpaperDir_(windowsDir_ + "\\Web\\WallPaper\\") {}

int DesktopWallpaper::SetName(const std::string& name) { name_ = name; return 1; }
int DesktopWallpaper::SetMovieFile(const std::string& path) { movieSource_ = path; return 1; }
int DesktopWallpaper::SetImageFile(const std::string& path) { imageSource_ = path; return 1; }
int DesktopWallpaper::SetBackgroundImage(const std::string& path) { backgroundSource_ = path; return 1; }
int DesktopWallpaper::SetBackgroundColour(Colour colour) { backgroundColour_ = colour; return 1; }
int DesktopWallpaper::SetResourceFiles(const std::string& list) { resourceFiles_ = list; return 1; }
int DesktopWallpaper::SetQuality(const std::string& word) { quality_ = word; return 1; }
int DesktopWallpaper::SetLoop(const std::string& word) { loop_ = word; return 1; }
int DesktopWallpaper::SetAlignment(const std::string& hAlign, const std::string& vAlign) {
  hAlign_ = hAlign;
  vAlign_ = vAlign;
  return 1;
}
int DesktopWallpaper::SetBackgroundPosition(const std::string& word) { backgroundPosition_ = word; return 1; }
int DesktopWallpaper::SetScale(const std::string& word) { scale_ = word; return 1; }
int DesktopWallpaper::SetReplaceSilently(int flag) { replaceSilently_ = flag; return 1; }
int DesktopWallpaper::SetFolder(const std::string& folder) { folder_ = folder; return 1; }
int DesktopWallpaper::SetStillImage(const std::string& path) { stillSource_ = path; return 1; }
int DesktopWallpaper::SetStillFromMovie(int flag) { stillFromMovie_ = flag != 0; return 1; }

int DesktopWallpaper::GetSavedWallpaper(wchar_t* buffer) const {
  if (!buffer) return 0;
  std::memcpy(buffer, savedWallpaper_.c_str(), (savedWallpaper_.size() + 1) * sizeof(wchar_t));
  return 1;
}

bool DesktopWallpaper::NameIsSafe() const { return IsUsableWallpaperName(name_); }

std::string DesktopWallpaper::PrepareFolder() {
  if (!NameIsSafe()) {
    // Nothing may go on into the folder of an earlier name either.
    folder_.clear();
    return std::string();
  }
  folder_ = wallpaperDir_ + name_;
  if (!MakeDirectory(folder_) && !replaceSilently_) {
    int answer = prompt_.Show(kReplaceQuestion, kPromptOkCancel | kPromptIconInformation);
    if (answer == kAnswerOk) {
      folder_ += '\\';
      Delete();
      MakeDirectory(folder_);
    }
  }
  folder_ = WithTrailingBackslash(folder_);
  return folder_;
}

int DesktopWallpaper::CopyFiles() {
  if (folder_.empty()) return 1;  // refused name: nothing may land beside the program
  movieCopy_ = folder_ + BareName(movieSource_);
  CopyFileOver(movieSource_, movieCopy_);
  imageCopy_ = folder_ + BareName(imageSource_);
  CopyFileOver(imageSource_, imageCopy_);
  backgroundCopy_ = folder_ + BareName(backgroundSource_);
  CopyFileOver(backgroundSource_, backgroundCopy_);
  return 1;
}

WallpaperPageFields DesktopWallpaper::PageFields() const {
  WallpaperPageFields f;
  f.name = name_;
  f.movieSource = movieSource_;
  f.imageSource = imageSource_;
  f.backgroundSource = backgroundSource_;
  f.backgroundColour = backgroundColour_;
  f.quality = quality_;
  f.loop = loop_;
  f.hAlign = hAlign_;
  f.vAlign = vAlign_;
  f.backgroundPosition = backgroundPosition_;
  f.scale = scale_;
  return f;
}

int DesktopWallpaper::WritePage(const std::string& path) {
  // The page refers to its files through the name.
  if (!NameIsSafe()) return 0;
  return ReplaceFileContents(path, WallpaperPageText(PageFields())) ? 1 : 0;
}

int DesktopWallpaper::Delete() {
  if (folder_.empty()) return 0;
  if (!StartsWithIgnoreCase(folder_, wallpaperDir_)) return 0;
  std::string inside = folder_.substr(wallpaperDir_.size());
  if (!inside.empty() && IsPathSeparator(inside.back())) inside.pop_back();
  if (!IsUsableWallpaperName(inside)) return 0;

  const std::string folder = WithTrailingBackslash(folder_);
  for (const std::string& entry : ListDirectory(folder)) RemoveFile(folder + entry);
  RemoveEmptyDirectory(folder);
  // The page lies beside the folder; a page path that left the directory is not ours to delete.
  if (!pagePath_.empty() && StartsWithIgnoreCase(pagePath_, wallpaperDir_) &&
      IsUsableWallpaperName(pagePath_.substr(wallpaperDir_.size())))
    RemoveFile(pagePath_);
  DeleteResources();
  return 1;
}

int DesktopWallpaper::DeleteResources() {
  std::vector<std::string> items;
  SplitFileList(resourceFiles_, items);
  for (const std::string& item : items)
    if (IsUsableWallpaperName(item)) RemoveFile(wallpaperDir_ + item);
  return 1;
}

// From Vista on the desktop shows no page, although the Active Desktop may still answer S_OK.
bool DesktopWallpaper::PageCanShow() {
  const unsigned major = image_->WindowsMajorVersion();
  if (major < 6) return true;
  route_ = "Windows " + std::to_string(major) + "." +
           std::to_string(image_->WindowsMinorVersion()) + " shows no page on the desktop";
  return false;
}

void DesktopWallpaper::PrepareDesktop() {
  activeDesktopFailed_ = false;
  route_.clear();
  if (!PageCanShow()) return;
  shell_.InitializeCom();
  if (shell_.CreateActiveDesktop()) {
    shell_.GetWallpaper(savedWallpaper_, kSavedCapacity);
    ComponentsOptions options;
    if (!shell_.GetDesktopItemOptions(options)) {
      prompt_.Show("Failed to Get Desktop Settings", kPromptOk);
      activeDesktopFailed_ = true;
      route_ = "the Active Desktop failed GetDesktopItemOptions";
    } else if (!options.activeDesktop) {
      ComponentsOptions on;
      on.enableComponents = 1;
      on.activeDesktop = 1;
      shell_.SetDesktopItemOptions(on);
      shell_.ApplyChanges(kApplyRefresh);
    }
    shell_.ReleaseActiveDesktop();
  } else {
    activeDesktopFailed_ = true;
    route_ = "the Active Desktop cannot be created";
  }
  shell_.UninitializeCom();
}

int DesktopWallpaper::Apply() {
  if (!NameIsSafe()) return 0;
  // An old page that could not be replaced is not this wallpaper: the desktop stays as it is.
  if (!WritePage(wallpaperDir_ + name_ + ".htm")) {
    pageShown_ = false;
    route_ = "desktop unchanged (the page cannot be written)";
    return 0;
  }
  return Show();
}

bool DesktopWallpaper::StillExpected() { return activeDesktopFailed_ || !PageCanShow(); }

std::string DesktopWallpaper::StillPathInFolder() const {
  return folder_.empty() ? std::string() : WithTrailingBackslash(folder_) + name_ + "_Still.bmp";
}

bool DesktopWallpaper::StageStill(const std::string& folder) {
  stillStaged_ = NameIsSafe() && WriteStill(WithTrailingBackslash(folder) + name_ + "_Still.bmp");
  return stillStaged_;
}

int DesktopWallpaper::Show() {
  if (!NameIsSafe()) return 0;
  pagePath_ = wallpaperDir_ + name_ + ".htm";
  pageShown_ = false;
  if (PageCanShow()) {
    shell_.InitializeCom();
    if (shell_.CreateActiveDesktop()) {
      shell_.GetWallpaper(savedWallpaper_, kSavedCapacity);
      // "None" first, so the desktop reloads the page even when it is the wallpaper already.
      // Every call is made, in this order, whatever an earlier one answered.
      bool ok = shell_.SetWallpaper(kNoWallpaper);
      ok = shell_.SetWallpaper(WidenAnsi(pagePath_)) && ok;
      ok = shell_.ApplyChanges(kApplyAll) && ok;
      ok = shell_.ApplyChanges(kApplyForce) && ok;
      shell_.ReleaseActiveDesktop();
      pageShown_ = ok && !activeDesktopFailed_;
      if (!ok) route_ = "the Active Desktop refused the page";
    } else {
      route_ = "the Active Desktop cannot be created";
    }
    shell_.UninitializeCom();
  }
  if (pageShown_) {
    route_ = "page " + pagePath_ + " through the Active Desktop";
  } else if (ApplyStill()) {
    route_ = "still picture " + stillPath_ + " (" + route_ + ")";
  } else {
    route_ = "desktop unchanged (" + route_ + ")";
  }
  return 1;
}

bool DesktopWallpaper::ApplyStill() {
  ImageWallpaperState now;
  if (folder_.empty() || !image_->Read(now)) {
    route_ += "; no image wallpaper either";
    return false;
  }
  stillPath_ = StillPathInFolder();
  const bool written = stillStaged_ || WriteStill(stillPath_);
  route_ += stillNotes_;
  if (!written) return false;
  // A second Apply keeps the wallpaper from before the first.
  if (!stillShown_) savedImage_ = now;
  ImageWallpaperState still;
  still.wallpaper = stillPath_;
  const WallpaperStyleValues style = StyleForStill(backgroundPosition_, stillIsMovieFrame_);
  still.style = style.style;
  still.tile = style.tile;
  still.hasStyle = still.hasTile = true;
  if (image_->Write(still)) {
    stillShown_ = true;
    return true;
  }
  route_ += "; the system refused the still picture";
  // Whatever part was taken goes back.
  if (!stillShown_) image_->Write(savedImage_);
  return false;
}

bool DesktopWallpaper::WriteStill(const std::string& path) {
  stillNotes_.clear();
  stillIsMovieFrame_ = false;
  Picture picture;
  if (!stillSource_.empty() && !image_->LoadPicture(stillSource_, picture))
    stillNotes_ += "; the still image " + stillSource_ + " cannot be read: composed instead";
  int width = 0, height = 0;
  if (picture.width > 0 && stillFromMovie_) {
    // The frame is the movie's size, its background tiled inside already: tiled once more on
    // the desktop it would show several frames with seams.
    image_->ScreenSize(width, height);
    const bool stretch = EqualsIgnoreCase(backgroundPosition_, "Stretch");
    Picture placed = ComposeStillPicture(backgroundColour_, picture,
                                         stretch ? "Stretch" : "Center", width, height);
    if (placed.width > 0) picture = placed;  // no screen size: the frame as it is
    stillIsMovieFrame_ = true;
  } else if (picture.width <= 0) {
    image_->ScreenSize(width, height);
    Picture background;
    if (!backgroundSource_.empty() && !image_->LoadPicture(backgroundSource_, background))
      stillNotes_ += "; the background image " + backgroundSource_ + " cannot be read";
    picture = ComposeStillPicture(backgroundColour_, background, backgroundPosition_, width, height);
  }
  if (picture.width <= 0 || !ReplaceFileContents(path, EncodeBmp24(picture))) {
    stillNotes_ += "; the still picture cannot be written";
    return false;
  }
  return true;
}

int DesktopWallpaper::RestoreImageWallpaper(const ImageWallpaperState& state) {
  return image_->Write(state) ? 1 : 0;
}

int DesktopWallpaper::Restore(const std::string& path) {
  if (stillShown_) {
    RestoreImageWallpaper(savedImage_);
    stillShown_ = false;
  }
  const std::wstring target = Capped(path.empty() ? savedWallpaper_ : WidenAnsi(path));
  // Where the desktop shows no page, the Active Desktop would only clear the image wallpaper.
  if (PageCanShow()) {
    shell_.InitializeCom();
    if (shell_.CreateActiveDesktop()) {
      shell_.GetWallpaper(savedWallpaper_, kSavedCapacity);
      shell_.SetWallpaper(target);
      shell_.ApplyChanges(kApplyAll);
      shell_.ApplyChanges(kApplyForce);
      shell_.ReleaseActiveDesktop();
    }
    shell_.UninitializeCom();
  }
  if (target == savedWallpaper_) savedWallpaper_ = kNoWallpaper;
  return 1;
}

std::string DesktopWallpaper::MakePreviewBitmap(const std::string& path, int bitmapId) {
  // The default path lies in the folder PrepareFolder made for the name.
  if (path.empty() && (folder_.empty() || !NameIsSafe())) return std::string();
  const std::string result = path.empty() ? folder_ + name_ + "_Preview.bmp" : path;
  WriteBitmapResource(bitmapId, result);
  return result;
}

}  // namespace zarvane
