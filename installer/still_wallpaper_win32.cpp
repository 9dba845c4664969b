#include "still_wallpaper.h"

#include <windows.h>

#include "desktop_shell.h"
#include "image_wallpaper.h"

namespace zarvane {
namespace {

const char kSection[] = "Uninstaller";
// Stands for a style value the desktop did not have, which the uninstaller then deletes.
const char kAbsent[] = "<absent>";

struct RecordedImage {
  std::string still;
  ImageWallpaperState previous;
};

std::string ReadValue(const std::string& ini, const char* key, const char* fallback = "") {
  char buffer[1024] = {0};
  GetPrivateProfileStringA(kSection, key, fallback, buffer, sizeof buffer, ini.c_str());
  return buffer;
}

bool ReadRecord(const std::string& ini, RecordedImage& record) {
  record.still = ReadValue(ini, "StillPicture");
  if (record.still.empty()) return false;
  ImageWallpaperState& p = record.previous;
  p.wallpaper = ReadValue(ini, "PrevWallpaper");
  p.style = ReadValue(ini, "PrevWallpaperStyle", kAbsent);
  p.tile = ReadValue(ini, "PrevTileWallpaper", kAbsent);
  p.hasStyle = p.style != kAbsent;
  p.hasTile = p.tile != kAbsent;
  if (!p.hasStyle) p.style.clear();
  if (!p.hasTile) p.tile.clear();
  return true;
}

bool Write(const std::string& ini, const char* key, const std::string& value, bool present) {
  return WritePrivateProfileStringA(kSection, key, present ? value.c_str() : nullptr,
                                    ini.c_str()) != 0;
}

}  // namespace

ImageWallpaperState PreviousImageWallpaper(const std::string& still,
                                           const ImageWallpaperState& shown,
                                           const std::vector<std::string>& earlierRecords) {
  if (still.empty() || lstrcmpiA(shown.wallpaper.c_str(), still.c_str()) != 0) return shown;
  for (const std::string& earlier : earlierRecords) {
    RecordedImage record;
    if (!earlier.empty() && ReadRecord(earlier, record)) return record.previous;
  }
  return shown;
}

bool WriteStillRecord(const std::string& ini, const std::string& still,
                      const ImageWallpaperState& previous) {
  if (still.empty()) return true;
  bool ok = Write(ini, "StillPicture", still, true);
  ok = Write(ini, "PrevWallpaper", previous.wallpaper, true) && ok;
  ok = Write(ini, "PrevWallpaperStyle", previous.style, previous.hasStyle) && ok;
  ok = Write(ini, "PrevTileWallpaper", previous.tile, previous.hasTile) && ok;
  return ok;
}

bool PassOnPrevious(const std::string& ini, const std::vector<std::string>& otherRecords,
                    RunLog& log) {
  bool passed = false;
  const std::string page = ReadValue(ini, "SCRFile");
  const std::string previous = ReadValue(ini, "PrevSettings");
  RecordedImage own;
  const bool hasStill = ReadRecord(ini, own);
  for (const std::string& other : otherRecords) {
    if (!page.empty() && lstrcmpiA(ReadValue(other, "PrevSettings").c_str(), page.c_str()) == 0) {
      Write(other, "PrevSettings", previous, true);
      passed = true;
      log.Line("previous desktop wallpaper passed on to ", other + ": " + previous);
    }
    RecordedImage theirs;
    if (hasStill && ReadRecord(other, theirs) &&
        lstrcmpiA(theirs.previous.wallpaper.c_str(), own.still.c_str()) == 0) {
      WriteStillRecord(other, theirs.still, own.previous);
      passed = true;
      log.Line("previous image wallpaper passed on to ", other + ": " + own.previous.wallpaper);
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, other.c_str());
  }
  return passed;
}

void RestoreRecordedImageWallpaper(const std::string& ini, DesktopWallpaper& wallpaper,
                                   RunLog& log) {
  RecordedImage record;
  if (!ReadRecord(ini, record)) return;
  const ImageWallpaperState& p = record.previous;
  bool ok = wallpaper.RestoreImageWallpaper(p) != 0;
  log.Line(ok ? "image wallpaper put back: " : "could not put the image wallpaper back: ",
           (p.wallpaper.empty() ? std::string("none") : p.wallpaper) +
               ", WallpaperStyle " + (p.hasStyle ? p.style : std::string(kAbsent)) +
               ", TileWallpaper " + (p.hasTile ? p.tile : std::string(kAbsent)));
}

bool DesktopNeedsFlashControl(std::string& why) {
  ImageWallpaper& image = SystemImageWallpaper();
  if (image.WindowsMajorVersion() >= 6) {
    why = "Windows " + std::to_string(image.WindowsMajorVersion()) + "." +
          std::to_string(image.WindowsMinorVersion()) + " shows no page on the desktop";
    return false;
  }
  DesktopShell& shell = SystemDesktopShell();
  bool answers = false;
  shell.InitializeCom();
  if (shell.CreateActiveDesktop()) {
    ComponentsOptions options;
    answers = shell.GetDesktopItemOptions(options);
    shell.ReleaseActiveDesktop();
    if (!answers) why = "the Active Desktop failed GetDesktopItemOptions";
  } else {
    why = "the Active Desktop cannot be created";
  }
  shell.UninitializeCom();
  return answers;
}

}  // namespace zarvane
