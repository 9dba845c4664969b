#include "tab_rules.h"

#include <vector>

#include "file_system.h"
#include "project_paths.h"
#include "text.h"
#include "wallpaper_name_rule.h"

namespace zarvane {
namespace {

// Whole-text match without regard to letter case, as a drop-down list's exact search does.
int RowOf(const std::vector<std::string>& rows, const std::string& text, int otherwise) {
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i] != kPositionSeparator && EqualsIgnoreCase(rows[i], text)) return static_cast<int>(i);
  return otherwise;
}

std::string RowText(const std::vector<std::string>& rows, int row) {
  return row >= 0 && static_cast<std::size_t>(row) < rows.size() ? rows[row] : std::string();
}

// Whether a new file can be made beside the installer: the probe must not exist already.
bool CanCreateBeside(const std::string& path) {
  std::string probe = path + ".tmp";
  if (!CreateNewFile(probe)) return false;
  RemoveFile(probe);
  return true;
}

// The steps shared by every "path of a file that must exist" field.
TabVerdict CheckExistingFile(std::string& field, int emptyMessage, int missingMessage,
                             TabField at, const std::string& folder) {
  std::string trimmed = Trim(field);
  if (trimmed.empty()) return {emptyMessage, at};
  if (!IsExistingFile(PathFrom(folder, trimmed))) return {missingMessage, at};
  field = trimmed;
  return {};
}

}  // namespace

bool IsExistingFile(const std::string& path) { return !path.empty() && FileExists(path); }

void SetWallpaperControls(WallpaperControls& c, const WallpaperSettings& r) {
  c.name = r.name;
  c.movieFile = r.movieFile;
  c.resourceFiles = r.resourceFiles;
  c.backgroundImage = r.backgroundImage;
  c.stillImage = r.stillImage;
  c.position = RowOf(kBackgroundPositions, r.backgroundPosition, 0);
  c.hAlign = RowOf(kHorizontalWords, r.hAlign, 0);
  c.vAlign = RowOf(kVerticalWords, r.vAlign, 0);
  c.quality = RowOf(kQualityWords, r.quality, 1);
  if (EqualsIgnoreCase(r.movieSize, "showall"))
    c.size = 0;
  else if (EqualsIgnoreCase(r.movieSize, "exactfit"))
    c.size = 1;
  else
    c.size = 2;
  c.colour = ColourFromText(r.colourText);
  c.loop = r.loop == 1;
}

WallpaperSettings GetWallpaperControls(const WallpaperControls& c) {
  WallpaperSettings r;
  r.name = c.name;
  r.movieFile = c.movieFile;
  r.resourceFiles = c.resourceFiles;
  r.backgroundImage = c.backgroundImage;
  r.stillImage = c.stillImage;
  r.backgroundPosition = RowText(kBackgroundPositions, c.position);
  r.hAlign = RowText(kHorizontalWords, c.hAlign);
  r.vAlign = RowText(kVerticalWords, c.vAlign);
  r.quality = RowText(kQualityWords, c.quality);
  r.movieSize = (c.size == 1 || c.size == 2) ? kScaleWords[c.size] : kScaleWords[0];
  r.colourText = ColourToText(c.colour);
  r.loop = c.loop ? 1 : 0;
  return r;
}

void SetPreviewControls(PreviewControls& c, const PreviewSettings& r) {
  c.ownImage = r.showImage != 0;
  c.imageFile = c.ownImage ? r.imageFile : std::string();
}

PreviewSettings GetPreviewControls(const PreviewControls& c) {
  PreviewSettings r;
  r.showImage = c.ownImage ? 1 : 0;
  r.imageFile = c.ownImage ? c.imageFile : std::string();
  return r;
}

void SetSettingsBoxControls(SettingsBoxControls& c, const SettingsBoxSettings& r) {
  c.specific = r.showSpecific != 0;
  c.movieOrImageFile = c.specific ? r.movieOrImageFile : std::string();
  c.webText = r.webText;
  c.webAddress = r.webAddress;
  c.emailText = r.emailText;
  c.emailAddress = r.emailAddress;
  c.otherText = r.otherText;
}

SettingsBoxSettings GetSettingsBoxControls(const SettingsBoxControls& c) {
  SettingsBoxSettings r;
  r.showSpecific = c.specific ? 1 : 0;
  r.movieOrImageFile = c.movieOrImageFile;
  r.webText = c.webText;
  r.webAddress = c.webAddress;
  r.emailText = c.emailText;
  r.emailAddress = c.emailAddress;
  r.otherText = c.otherText;
  return r;
}

void SetInstallerControls(InstallerControls& c, const InstallerSettings& r) {
  c.installerPath = r.installerFilePath;
  c.specificPicture = r.showMovie != 0;
  c.picturePath = c.specificPicture ? r.movieOrImageFile : std::string();
  c.licence = r.showLicence == 1;
  c.licencePath = c.licence ? r.licenseFile : std::string();
  c.withoutPlugin = r.includeFlashControl == 1;
}

void GetInstallerControls(const InstallerControls& c, InstallerSettings& r) {
  r.installerFilePath = c.installerPath;
  r.showMovie = c.specificPicture ? 1 : 0;
  r.movieOrImageFile = c.specificPicture ? c.picturePath : std::string();
  r.showLicence = c.licence ? 1 : 0;
  if (c.licence) r.licenseFile = c.licencePath;
  r.includeFlashControl = c.withoutPlugin ? 0 : 1;
}

TabVerdict ValidateWallpaperTab(WallpaperControls& c, bool previewing, const std::string& folder) {
  std::string movie = Trim(c.movieFile);
  if (movie.empty()) return {1, TabField::kMovieFile};
  if (!IsExistingFile(PathFrom(folder, movie))) return {2, TabField::kMovieFile};
  c.movieFile = movie;
  // Deliberately untrimmed: a blank at the end is part of what the author typed.
  if (!c.backgroundImage.empty() && !IsExistingFile(PathFrom(folder, c.backgroundImage)))
    return {7, TabField::kBackgroundImage};
  if (!c.stillImage.empty() && !IsExistingFile(PathFrom(folder, c.stillImage)))
    return {88, TabField::kStillImage};
  if (previewing) return {};
  std::string name = Trim(c.name);
  if (name.empty()) return {4, TabField::kName};
  if (name.find_first_of("\\/:*?\"<>|") != std::string::npos) return {3, TabField::kName};
  // Windows drops a trailing dot: "Demo." would install over the wallpaper "Demo".
  if (name.back() == '.') return {82, TabField::kName};
  // The installer refuses these on every machine; an installer built with one could not install.
  if (!IsUsableWallpaperName(name)) return {84, TabField::kName};
  c.name = name;
  return {};
}

TabVerdict ValidatePreviewTab(PreviewControls& c, const std::string& folder) {
  if (!c.ownImage) return {};
  return CheckExistingFile(c.imageFile, 6, 7, TabField::kPreviewImage, folder);
}

TabVerdict ValidateSettingsTab(SettingsBoxControls& c, const std::string& folder) {
  if (!c.specific) return {};
  return CheckExistingFile(c.movieOrImageFile, 8, 9, TabField::kSettingsPicture, folder);
}

TabVerdict ValidateInstallerTab(InstallerControls& c, const std::string& folder) {
  std::string path = Trim(c.installerPath);
  if (path.empty()) return {10, TabField::kInstallerPath};
  if (!CanCreateBeside(PathFrom(folder, path))) return {11, TabField::kInstallerPath};
  c.installerPath = path;
  if (c.specificPicture) {
    TabVerdict v = CheckExistingFile(c.picturePath, 8, 9, TabField::kInstallerPicture, folder);
    if (v.message) return v;
  }
  if (c.licence) return CheckExistingFile(c.licencePath, 12, 13, TabField::kLicence, folder);
  return {};
}

std::string AddResourceFiles(const std::string& field, const std::vector<std::string>& picked) {
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (true) {
    std::size_t end = field.find(';', start);
    std::string piece = Trim(field.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) {
      if (!piece.empty()) entries.push_back(piece);
      break;
    }
    entries.push_back(piece);
    start = end + 1;
  }
  for (const std::string& path : picked) {
    bool known = false;
    for (const std::string& entry : entries) known = known || EqualsIgnoreCase(entry, path);
    if (!known) entries.push_back(path);
  }
  std::string text;
  for (const std::string& entry : entries) text += entry + ";";
  return text;
}

std::string ProposeInstallerPath(const std::string& field, const std::string& desktopFolder,
                                 const std::string& wallpaperName) {
  if (!field.empty()) return field;
  if (wallpaperName.empty() || desktopFolder.empty()) return std::string();
  std::string folder = desktopFolder;
  if (folder.back() != '\\') folder += '\\';
  return folder + wallpaperName + " Setup.exe";
}

std::string InstallerFolderOf(const std::string& field) {
  std::size_t last = field.rfind('\\');
  return last == std::string::npos ? field : field.substr(0, last + 1);
}

std::string ToolMessage(int number) {
  switch (number) {
    case 1: return "Flash movie file path cannot be empty.";
    case 2: return "Flash movie file path is invalid. Check if the file/folder exists.";
    case 3:
      return "Wallpaper name cannot contain any of the following characters: \n"
             "\\ / :  * ? \" < > |";
    case 4: return "Wallpaper name cannot be empty";
    case 5: return "Error";
    case 6: return "Bitmap file path cannot be empty.";
    case 7: return "Bitmap file path is invalid. Check if the file/folder exists.";
    case 8: return "Movie/Image file path cannot be empty.";
    case 9: return "Movie/Image file path is invalid. Check if the file/folder exists.";
    case 10: return "Installer file path cannot be empty.";
    case 11: return "Installer file path is invalid. Check if the folder exists.";
    case 12: return "License file path cannot be empty.";
    case 13: return "License file path is invalid. Check if the file/folder exists.";
    case 14:
      return "Unable to save installer info to '%s'. \nCheck if there is enough disk space and "
             "\nappropriate user rights are set to the folder. ";
    case 15:
      return "Unable to create installer file '%s'.\nCheck if there is enough disk space and "
             "\nappropriate user rights are set to the folder. ";
    case 19:
    case 20: return "Building Installer...";
    case 21: return "Build Completed.";
    case 70:
      return "Unable to access the following resource file(s). Check if the file(s) exist: \n\n";
    // The build's own refusals: each names the file concerned.
    case 71:
      return "Unable to create installer file '%s'.\nIt is one of the files the installer is built "
             "from; choose another installer file path. ";
    case 72:
      return "Unable to create installer file '%s'.\nA folder or device of that name is in the "
             "way; choose another installer file path. ";
    case 73:
      return "Unable to create a folder for the build in '%s'.\nCheck if the temporary folder "
             "exists, if there is enough disk space and \nappropriate user rights are set to the "
             "folder. ";
    case 74:
      return "Unable to save picture '%s'. \nCheck if there is enough disk space and "
             "\nappropriate user rights are set to the folder. ";
    case 75: return "Unable to pack '%s'.\nAn installer holds at most 256 files. ";
    case 76:
      return "Unable to pack '%s'.\nWindows cannot create a file of this name; rename the file. ";
    case 77: return "Unable to pack '%s'.\nCheck if the file exists and can be read. ";
    case 78: return "Unable to pack '%s'.\nThe file is too large for an installer. ";
    case 79:
      return "Unable to pack '%s'.\nIt would have the same name in the installer as '%s'; rename "
             "one of them. ";
    case 80:
      return "Unable to pack '%s'.\nThe installer gives its own file this name; rename the file. ";
    case 81:
      return "Unable to save the resource file names to '%s': they take %s characters, the "
             "installer reads %s.\nUse fewer resource files or shorter file names. ";
    case 82:
      return "Wallpaper name cannot end in a dot: Windows drops it, and the wallpaper would "
             "replace the one named without it.";
    case 83:
      return "Unable to pack '%s'.\nThe file could not be read to its end, or it changed while the "
             "installer was written. ";
    case 84:
      return "Wallpaper name cannot be a name Windows keeps for a device (CON, PRN, AUX, NUL, "
             "COM1 to COM9, LPT1 to LPT9, also with an extension such as nul.txt).";
    case 88:
      return "Still picture file path is invalid. Check if the file/folder exists.";
    case 89:
      return "The file '%s' is not an installer.\nDo you want to replace it with the installer?";
    default: return std::string();
  }
}

}  // namespace zarvane
