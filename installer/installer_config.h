#pragma once
// The installer's record of "instcfg.ini", the configuration that travels as member 0 of every
// built installer. Text values are read with room for 1023 characters and default to empty.
#include <string>
#include <vector>

#include "profile.h"

namespace zarvane {

struct InstallerConfig {
  std::string baseFolder;  // the extraction folder, ending in a backslash
  std::string path;        // baseFolder + "instcfg.ini"

  int showMovie = 0;
  std::string movieOrImageFile;  // prefixed at once
  std::string licenseFile;       // prefixed at once
  std::string name;

  // Bare names as read; Prefixed() makes paths of them when they are used.
  std::string movieFile, imageFile, backgroundImageFile;
  std::string stillImageFile;  // optional, bare
  int stillFromMovie = 0;       // 1: that picture is a frame of the movie
  std::string resourceFileList;
  std::vector<std::string> resourceFiles;

  std::string backgroundPosition, hAlign, vAlign, backgroundColour, size, quality, loop;

  // A non-empty bare name becomes baseFolder + name; an empty one stays empty.
  std::string Prefixed(const std::string& name) const;
};

// Reads `extractionFolder`instcfg.ini; a missing file gives empty values and showMovie 0.
InstallerConfig ReadInstallerConfig(Profile& profile, const std::string& extractionFolder);

// True when instcfg.ini and the movie are among the `extracted` member names, letter case
// ignored: a member renamed by damage would otherwise install as a wallpaper without its movie.
bool IsCompletePayload(const InstallerConfig& config, const std::vector<std::string>& extracted);

}  // namespace zarvane
