#include "project_file.h"

#include <vector>

#include "file_system.h"
#include "path_words.h"
#include "preview_bitmap.h"
#include "text.h"
#include "wallpaper_words.h"

namespace zarvane {
namespace {

constexpr std::size_t kValueRoom = 1024;
constexpr std::size_t kResourceListRoom = 10240;

// Collects the profile's write results: the Windows functions' callers never looked, but a
// project or "instcfg.ini" that silently failed to land would lose the author's work.
class KeyWriter {
 public:
  KeyWriter(Profile& profile, const std::string& path) : profile_(profile), path_(path) {}
  void Write(const char* section, const char* key, const std::string& value) {
    if (!profile_.WriteString(path_, section, key, value)) ok_ = false;
  }
  // Absent when empty, so that files of projects without it stay as they were.
  void WriteOptional(const char* section, const char* key, const std::string& value) {
    if (value.empty())
      profile_.DeleteKey(path_, section, key);
    else
      Write(section, key, value);
  }
  int Finish() {
    profile_.Flush(path_);
    return ok_ ? 1 : 0;
  }

 private:
  Profile& profile_;
  const std::string& path_;
  bool ok_ = true;
};

void WriteMovieDisplayKeys(KeyWriter& out, const WallpaperSettings& w) {
  out.Write("Movie", "HAlign", w.hAlign);
  out.Write("Movie", "VAlign", w.vAlign);
  out.Write("Movie", "Mute", w.mute ? "1" : "0");
  out.Write("Movie", "Quality", w.quality);
  out.Write("Movie", "MovieBkgSet", "1");
  out.Write("Movie", "MovieBkgColor", w.colourText);
  out.Write("Movie", "Loop", w.loop ? "TRUE" : "FALSE");
  out.Write("Movie", "MovieSize", w.movieSize);
}

// The picture's path, or empty when it could not be written whole (nothing is left of it then).
std::string MakePicture(BuildState& state, const std::string& path, int bitmapId) {
  if (state.makePicture) return state.makePicture(path, bitmapId);
  if (WriteBitmapResource(bitmapId, path)) return path;
  RemoveFile(path);
  return std::string();
}

}  // namespace

std::string BareNameList(const std::string& resourceFiles) {
  std::vector<std::string> items;
  SplitFileList(resourceFiles, items);
  std::string list;
  for (const std::string& item : items) list += BareName(item) + ";";
  return list;
}

int WriteScreenSaverIni(ProjectTabs& tabs, Profile& profile, const std::string& path) {
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  SettingsBoxSettings settingsBox;
  InstallerSettings installer;
  if (!tabs.GetWallpaper(wallpaper) || !tabs.GetPreview(preview) ||
      !tabs.GetSettingsBox(settingsBox) || !tabs.GetInstaller(installer))
    return 0;

  KeyWriter out(profile, path);
  out.Write("ScreenSaver", "Name", wallpaper.name);
  out.Write("Movie", "SWFFile", wallpaper.movieFile);
  out.Write("Movie", "ResourceFiles", wallpaper.resourceFiles);
  WriteMovieDisplayKeys(out, wallpaper);
  out.Write("Wallpaper", "BackImage", wallpaper.backgroundImage);
  out.Write("Wallpaper", "Align", wallpaper.backgroundPosition);
  out.Write("Wallpaper", "PrevMon", preview.imageFile);
  out.WriteOptional("Wallpaper", "StillImage", wallpaper.stillImage);
  out.Write("SettingsBox", "ShowMovie", settingsBox.showSpecific ? "1" : "0");
  out.Write("Preview", "ShowMovie", preview.showImage ? "0" : "1");
  out.Write("Preview", "ImageFile", preview.imageFile);
  return out.Finish();
}

int WriteProjectIni(ProjectTabs& tabs, Profile& profile, const std::string& path, int keepPaths,
                    BuildState& state) {
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  InstallerSettings installer;
  if (!tabs.GetWallpaper(wallpaper) || !tabs.GetPreview(preview) || !tabs.GetInstaller(installer))
    return 0;

  if (!keepPaths) {
    // A configuration that names a picture the build could not make is no configuration.
    if (!preview.showImage) {
      preview.showImage = 1;
      preview.imageFile = state.temporaryFolder + wallpaper.name + "Preview.bmp";
      state.generatedPreviewImage = preview.imageFile;
      state.generatedPreview = true;
      if (MakePicture(state, preview.imageFile, 233).empty()) return 0;
    }
    if (!installer.showMovie) {
      installer.showMovie = 1;
      installer.movieOrImageFile = state.temporaryFolder + wallpaper.name + "_build.bmp";
      state.generatedInstallerImage = installer.movieOrImageFile;
      state.generatedInstaller = true;
      if (MakePicture(state, installer.movieOrImageFile, 234).empty()) return 0;
    }
  }
  auto file = [keepPaths](const std::string& p) { return keepPaths ? p : BareName(p); };

  KeyWriter out(profile, path);
  out.Write("Installer", "ShowMovie", installer.showMovie ? "1" : "0");
  out.Write("Installer", "MovieOrImageFile", file(installer.movieOrImageFile));
  out.Write("Installer", "LicenseFile", installer.showLicence ? file(installer.licenseFile) : "");
  out.Write("Installer", "Name", wallpaper.name);
  out.Write("Installer", "FlashControl", installer.includeFlashControl ? "0" : "1");
  out.Write("ScreenSaver", "Name", wallpaper.name);
  state.installerImageIsMovie = EqualsIgnoreCase(wallpaper.movieFile, installer.movieOrImageFile);
  out.Write("Movie", "SWFFile", file(wallpaper.movieFile));
  out.Write("Movie", "ResourceFiles",
            keepPaths ? wallpaper.resourceFiles : BareNameList(wallpaper.resourceFiles));
  WriteMovieDisplayKeys(out, wallpaper);
  out.Write("Wallpaper", "BackImage", file(wallpaper.backgroundImage));
  out.Write("Wallpaper", "Align", wallpaper.backgroundPosition);
  out.Write("Wallpaper", "PrevMon", file(preview.imageFile));
  out.WriteOptional("Wallpaper", "StillImage", file(wallpaper.stillImage));
  if (!keepPaths) out.WriteOptional("Wallpaper", "StillFromMovie", state.stillFromMovie ? "1" : "");
  out.Write("Installer", "InstallerFilePath",
            !keepPaths && state.ownInstallerPathKept ? state.ownInstallerPath
                                                     : installer.installerFilePath);
  return out.Finish();
}

int ReadProjectIni(ProjectTabs& tabs, Profile& profile, const std::string& path) {
  auto text = [&](const char* section, const char* key, std::size_t room = kValueRoom) {
    return profile.ReadString(path, section, key, "", room);
  };
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  wallpaper.name = text("ScreenSaver", "Name");
  wallpaper.movieFile = text("Movie", "SWFFile");
  wallpaper.resourceFiles = text("Movie", "ResourceFiles", kResourceListRoom);
  wallpaper.mute = profile.ReadInt(path, "Movie", "Mute", 0);
  wallpaper.loop = EqualsIgnoreCase(text("Movie", "Loop"), "TRUE") ? 1 : 0;
  preview.showImage = profile.ReadInt(path, "Preview", "ShowMovie", 1) == 0 ? 1 : 0;
  preview.imageFile = text("Preview", "ImageFile");
  wallpaper.hAlign = text("Movie", "HAlign");
  wallpaper.vAlign = text("Movie", "VAlign");
  wallpaper.colourText = text("Movie", "MovieBkgColor");
  wallpaper.movieSize = text("Movie", "MovieSize");
  wallpaper.quality = text("Movie", "Quality");
  wallpaper.backgroundImage = text("Wallpaper", "BackImage");
  wallpaper.backgroundPosition = text("Wallpaper", "Align");
  preview.imageFile = text("Wallpaper", "PrevMon");
  wallpaper.stillImage = text("Wallpaper", "StillImage");

  if (!tabs.SetWallpaper(wallpaper)) return 0;
  if (!tabs.SetPreview(preview)) return 0;
  if (!tabs.SetSettingsBox(SettingsBoxSettings())) return 0;
  return 1;
}

int ReadInstallerIni(ProjectTabs& tabs, Profile& profile, const std::string& path) {
  InstallerSettings installer;
  installer.showMovie = profile.ReadInt(path, "Installer", "ShowMovie", 0);
  installer.movieOrImageFile = profile.ReadString(path, "Installer", "MovieOrImageFile", "", kValueRoom);
  installer.licenseFile = profile.ReadString(path, "Installer", "LicenseFile", "", kValueRoom);
  installer.showLicence = installer.licenseFile.empty() ? 0 : 1;
  installer.installerFilePath =
      profile.ReadString(path, "Installer", "InstallerFilePath", "", kValueRoom);
  installer.includeFlashControl = profile.ReadInt(path, "Installer", "FlashControl", 0);
  return tabs.SetInstaller(installer) ? 1 : 0;
}

int SaveProject(ProjectTabs& tabs, Profile& profile, const std::string& path, BuildState& state) {
  int first = WriteScreenSaverIni(tabs, profile, path);
  int second = WriteProjectIni(tabs, profile, path, 1, state);
  return first && second ? 1 : 0;
}

int OpenProject(ProjectTabs& tabs, Profile& profile, const std::string& path) {
  if (!ReadProjectIni(tabs, profile, path)) return 0;
  return ReadInstallerIni(tabs, profile, path);
}

}  // namespace zarvane
