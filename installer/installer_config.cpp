#include "installer_config.h"

#include "path_words.h"
#include "text.h"
#include "wallpaper_words.h"

namespace zarvane {

std::string InstallerConfig::Prefixed(const std::string& bare) const {
  return bare.empty() ? std::string() : baseFolder + bare;
}

InstallerConfig ReadInstallerConfig(Profile& profile, const std::string& extractionFolder) {
  InstallerConfig config;
  config.baseFolder = extractionFolder;
  if (!config.baseFolder.empty() && !IsPathSeparator(config.baseFolder.back()))
    config.baseFolder += '\\';
  config.path = Trim(config.baseFolder + "instcfg.ini");
  if (config.path.empty()) return config;

  auto text = [&](const char* section, const char* key) {
    return profile.ReadString(config.path, section, key, "", 1024);
  };
  config.showMovie = profile.ReadInt(config.path, "Installer", "ShowMovie", 0);
  config.movieOrImageFile = config.Prefixed(text("Installer", "MovieOrImageFile"));
  config.licenseFile = config.Prefixed(text("Installer", "LicenseFile"));
  config.name = text("Installer", "Name");

  config.movieFile = text("Movie", "SWFFile");
  config.resourceFileList = text("Movie", "ResourceFiles");
  SplitFileList(config.resourceFileList, config.resourceFiles);
  config.hAlign = text("Movie", "HAlign");
  config.vAlign = text("Movie", "VAlign");
  config.backgroundColour = text("Movie", "MovieBkgColor");
  config.size = text("Movie", "MovieSize");
  config.quality = text("Movie", "Quality");
  config.loop = text("Movie", "Loop");

  config.backgroundImageFile = text("Wallpaper", "BackImage");
  config.backgroundPosition = text("Wallpaper", "Align");
  config.imageFile = text("Wallpaper", "PrevMon");
  config.stillImageFile = text("Wallpaper", "StillImage");
  config.stillFromMovie = profile.ReadInt(config.path, "Wallpaper", "StillFromMovie", 0);
  return config;
}

bool IsCompletePayload(const InstallerConfig& config, const std::vector<std::string>& extracted) {
  // A licence, picture (the installer window's too: its pane stays empty) or resource file a
  // writer could not add is simply not shown or copied.
  const std::string named[] = {"instcfg.ini", config.movieFile};
  for (const std::string& name : named) {
    if (name.empty()) continue;
    bool found = false;
    for (const std::string& member : extracted) found = found || EqualsIgnoreCase(name, member);
    if (!found) return false;
  }
  return true;
}

}  // namespace zarvane
