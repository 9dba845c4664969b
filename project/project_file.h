#pragma once
// The project file (".zvp") and, through the same writer in build mode, the installer's
// "instcfg.ini". Both are profile files; every operation reports 1 for success and 0 for failure.
#include <functional>
#include <string>

#include "profile.h"
#include "project_tabs.h"

namespace zarvane {

// What a build keeps between writing "instcfg.ini" and packing; the main window holds it.
struct BuildState {
  std::string temporaryFolder;  // ends with a separator
  // Writes the default picture `bitmapId` (233 preview, 234 installer window) to `path` and
  // gives the path back, or empty when it could not; when unset, the program's own bitmap
  // resources are written.
  std::function<std::string(const std::string& path, int bitmapId)> makePicture;

  std::string generatedPreviewImage;
  bool generatedPreview = false;
  std::string generatedInstallerImage;
  bool generatedInstaller = false;
  // The installer window shows the wallpaper's own movie: it is packed once, as the movie.
  bool installerImageIsMovie = false;
  // Set when the build writes elsewhere than the project says (zarvane-cli build -o): the
  // installer's configuration keeps the project's own InstallerFilePath, not the builder's
  // folders.
  bool ownInstallerPathKept = false;
  std::string ownInstallerPath;
  // The still picture is a frame of the movie (zarvane-cli build --still-from-movie): the
  // installer's configuration says so, and the installer never tiles it.
  bool stillFromMovie = false;
};

// Every path whole. Fails when a tab refuses or the file cannot be written.
int WriteScreenSaverIni(ProjectTabs& tabs, Profile& profile, const std::string& path);
// keepPaths 1: the project file's keys with whole paths. keepPaths 0: "instcfg.ini" for a build,
// with bare names and default pictures made into state.temporaryFolder; fails, writing nothing,
// when a picture cannot be made.
int WriteProjectIni(ProjectTabs& tabs, Profile& profile, const std::string& path, int keepPaths,
                    BuildState& state);
int ReadProjectIni(ProjectTabs& tabs, Profile& profile, const std::string& path);
int ReadInstallerIni(ProjectTabs& tabs, Profile& profile, const std::string& path);

int SaveProject(ProjectTabs& tabs, Profile& profile, const std::string& path, BuildState& state);
int OpenProject(ProjectTabs& tabs, Profile& profile, const std::string& path);

// The resource list as "instcfg.ini" carries it: bare names, each followed by ";".
std::string BareNameList(const std::string& resourceFiles);

}  // namespace zarvane
