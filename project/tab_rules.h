#pragma once
// What the tabs do to a project record, without windows: the state of their controls, how a
// record is shown (Set) and read back (Get), and the checks before a preview or a build. The
// authoring tool's tabs and the command-line tool share these, so both turn one project into
// the same "instcfg.ini". A check returns a message number (0: fine) and the field at fault;
// showing the message and moving the focus is the caller's part.
#include <string>
#include <vector>

#include "project_records.h"
#include "project_tabs.h"
#include "wallpaper_words.h"

namespace zarvane {

struct WallpaperControls {
  std::string name, movieFile, resourceFiles, backgroundImage, stillImage;  // edit fields
  int position = 0, hAlign = 0, vAlign = 0;  // selected rows; the first until a Set
  int quality = -1, size = -1;               // -1: nothing selected
  Colour colour = 0;
  bool loop = false;
};

struct PreviewControls {
  bool ownImage = false;  // "Preview Image ( Bitmap/JPEG)" rather than the default image
  std::string imageFile;
};

struct SettingsBoxControls {
  bool specific = false;
  std::string movieOrImageFile, webText, webAddress, emailText, emailAddress, otherText;
};

struct InstallerControls {
  std::string installerPath;
  bool specificPicture = false;  // "Show specific Image/Flash in Installer Window"
  std::string picturePath;
  bool licence = false;
  std::string licencePath;
  bool withoutPlugin = false;  // "Build Installer without flash plug-in"
};

void SetWallpaperControls(WallpaperControls& controls, const WallpaperSettings& record);
WallpaperSettings GetWallpaperControls(const WallpaperControls& controls);
void SetPreviewControls(PreviewControls& controls, const PreviewSettings& record);
PreviewSettings GetPreviewControls(const PreviewControls& controls);
void SetSettingsBoxControls(SettingsBoxControls& controls, const SettingsBoxSettings& record);
SettingsBoxSettings GetSettingsBoxControls(const SettingsBoxControls& controls);
void SetInstallerControls(InstallerControls& controls, const InstallerSettings& record);
// Fills `record`; its licenseFile stays as it was while the licence box is clear.
void GetInstallerControls(const InstallerControls& controls, InstallerSettings& record);

enum class TabField {
  kNone,
  kMovieFile,
  kBackgroundImage,
  kStillImage,
  kName,
  kPreviewImage,
  kSettingsPicture,
  kInstallerPath,
  kInstallerPicture,
  kLicence,
};

struct TabVerdict {
  int message = 0;  // 0: valid
  TabField field = TabField::kNone;
};

// Each check writes trimmed paths and names back into the controls once they passed. The
// wallpaper tab checks less while a preview is being started. Relative paths are looked for
// from `folder`, the project file's (project_paths.h), and stay relative in the controls.
TabVerdict ValidateWallpaperTab(WallpaperControls& controls, bool previewing,
                                const std::string& folder = std::string());
TabVerdict ValidatePreviewTab(PreviewControls& controls, const std::string& folder = std::string());
TabVerdict ValidateSettingsTab(SettingsBoxControls& controls,
                               const std::string& folder = std::string());
TabVerdict ValidateInstallerTab(InstallerControls& controls,
                                const std::string& folder = std::string());

// What the tabs' buttons do to their fields, without the dialogs.
// Resource Browse: the field's entries (empty ones between two ";" kept) with each picked path
// appended unless an entry equals it ignoring case; every entry followed by ";".
std::string AddResourceFiles(const std::string& field, const std::vector<std::string>& picked);
// Installer Browse: the field itself, or desktop folder + name + " Setup.exe" for an empty field;
// empty when the name or the desktop folder is.
std::string ProposeInstallerPath(const std::string& field, const std::string& desktopFolder,
                                 const std::string& wallpaperName);
// The folder button: the field up to and including its last backslash.
std::string InstallerFolderOf(const std::string& field);

// The authoring tool's texts by number: validation messages, build messages and states.
std::string ToolMessage(int number);

// A file that can be opened as such; a folder is not one.
bool IsExistingFile(const std::string& path);

}  // namespace zarvane
