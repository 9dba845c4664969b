// Any bytes as a project file, opened as the authoring tool opens it and built into
// "instcfg.ini" as Build Now writes it, which the installer then reads. Values stay within their
// room and never hold a line break; what the installer reads back of a plain value is what the
// build wrote; the build's own path and name rules hold for whatever the file names.
#include <cstdlib>
#include <string>
#include <vector>

#include "archive_format.h"
#include "build_checks.h"
#include "fuzz_scratch.h"
#include "headless_tabs.h"
#include "installer_config.h"
#include "path_words.h"
#include "profile.h"
#include "project_file.h"
#include "text.h"

namespace {

void CheckValue(const std::string& value, std::size_t room) {
  if (value.size() >= room || value.find_first_of("\r\n") != std::string::npos) std::abort();
}

// A value that the profile carries through a write and a read unchanged.
bool IsPlain(const std::string& value) {
  return zarvane::Trim(value) == value && value.find('"') == std::string::npos &&
         value.find_first_of("\v\f\x1a") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace zarvane;
  static std::unique_ptr<Profile> profile = MakePortableProfile();
  FuzzScratch& scratch = TheFuzzScratch();
  const std::string project = scratch.Write("project.zvp", data, size);

  HeadlessTabs tabs;
  if (!OpenProject(tabs, *profile, project)) std::abort();
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  InstallerSettings installer;
  tabs.GetWallpaper(wallpaper);
  tabs.GetPreview(preview);
  tabs.GetInstaller(installer);
  CheckValue(wallpaper.resourceFiles, 10240);
  for (const std::string* value :
       {&wallpaper.name, &wallpaper.movieFile, &wallpaper.backgroundImage, &preview.imageFile,
        &installer.installerFilePath, &installer.movieOrImageFile, &installer.licenseFile})
    CheckValue(*value, 1024);

  std::vector<std::string> paths;
  SplitFileList(wallpaper.resourceFiles, paths);
  paths.insert(paths.end(), {wallpaper.movieFile, wallpaper.backgroundImage,
                             installer.installerFilePath});
  for (const std::string& path : paths) {
    std::string key = PathKey(path);
    if (PathKey(key) != key) std::abort();  // a key is its own key
    IsWindowsFileName(BareName(path));
  }

  BuildState state;
  state.temporaryFolder = scratch.Folder();
  state.makePicture = [](const std::string& path, int) { return path; };
  const std::string config = scratch.Folder() + "instcfg.ini";
  std::remove(config.c_str());
  if (!WriteProjectIni(tabs, *profile, config, 0, state)) std::abort();
  InstallerConfig read = ReadInstallerConfig(*profile, scratch.Folder());
  const std::string movie = BareName(wallpaper.movieFile);
  if (IsPlain(movie) && read.movieFile != movie) std::abort();
  if (IsPlain(wallpaper.name) && read.name != wallpaper.name) std::abort();
  const std::string list = BareNameList(wallpaper.resourceFiles);
  if (IsPlain(list) && list.size() < 1024 && read.resourceFileList != list) std::abort();
  return 0;
}
