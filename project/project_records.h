#pragma once
// The project as four records, one per tab of the authoring tool. Fresh values are the
// member initialisers; nothing else holds a project between a read and the next write.
#include <string>

namespace zarvane {

struct WallpaperSettings {
  std::string movieFile;
  std::string resourceFiles;  // ";"-separated list
  std::string name;
  std::string colourText = "FFFFFF";
  std::string backgroundImage;
  std::string hAlign = "Center";
  std::string vAlign = "Center";
  std::string backgroundPosition = "Center";
  std::string quality;
  std::string movieSize;  // "showall", "Exactfit" or "noscale"
  int loop = 1;
  int mute = 0;
  // Optional, and last so that records written field by field stay as they were: the picture
  // desktops that show no page get instead of the one the installer composes.
  std::string stillImage;
};

struct PreviewSettings {
  int showImage = 0;  // 1: the author's own preview image, 0: the default one
  std::string imageFile;
};

struct SettingsBoxSettings {
  int showSpecific = 0;
  std::string movieOrImageFile, webText, webAddress, emailText, emailAddress, otherText;
};

struct InstallerSettings {
  std::string installerFilePath;
  int showMovie = 0;  // 1: the installer window shows movieOrImageFile
  std::string movieOrImageFile;
  int showLicence = 0;
  // 1 when the box "Build Installer without flash plug-in" is clear; the project file stores
  // the box's state, the inverse.
  int includeFlashControl = 0;
  std::string licenseFile;
};

}  // namespace zarvane
