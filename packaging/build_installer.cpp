#include "build_installer.h"

#include <cstdio>
#include <vector>

#include "file_system.h"
#include "payload_archive.h"
#include "profile.h"
#include "tab_rules.h"
#include "wallpaper_words.h"

namespace zarvane {
namespace {

std::string WithPath(int message, const std::string& path) {
  std::string text = ToolMessage(message);
  std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, path);
  return text;
}

void ShowError(BuildHost& host, const std::string& text) {
  host.Prompt().Show("Error", text, kPromptOk | kPromptIconExclamation);
}

// An old installer that could not be deleted is cut to nothing, so that the new one, written
// over it, does not keep the old file's tail behind its trailer.
void ClearOutput(const std::string& path) {
  if (RemoveFile(path) || !FileExists(path)) return;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) std::fclose(f);
}

}  // namespace

bool CollectMembers(BuildHost& host, const std::string& configFile, std::string& missingMessage,
                    std::vector<std::string>& members) {
  BuildState& state = host.State();
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  InstallerSettings installer;
  host.Tabs().GetWallpaper(wallpaper);
  host.Tabs().GetPreview(preview);
  host.Tabs().GetInstaller(installer);

  members.push_back(configFile);
  if (!state.installerImageIsMovie) {
    if (!state.generatedInstallerImage.empty()) members.push_back(state.generatedInstallerImage);
    if (!installer.movieOrImageFile.empty()) members.push_back(installer.movieOrImageFile);
  }
  if (installer.showLicence) members.push_back(installer.licenseFile);
  if (!wallpaper.backgroundImage.empty()) members.push_back(wallpaper.backgroundImage);
  if (!preview.imageFile.empty()) members.push_back(preview.imageFile);
  if (!state.generatedPreviewImage.empty()) members.push_back(state.generatedPreviewImage);

  std::vector<std::string> resources;
  SplitFileList(wallpaper.resourceFiles, resources);
  std::string missing;
  for (const std::string& item : resources) {
    if (IsExistingFile(item))
      members.push_back(item);
    else
      missing += "\t" + item + "\n";
  }
  if (!missing.empty()) {
    missingMessage = ToolMessage(70) + missing;
    return false;
  }
  if (installer.includeFlashControl) members.push_back(host.FlashControlFile());
  members.push_back(wallpaper.movieFile);
  return true;
}

int BuildInstaller(BuildHost& host) {
  const ProjectTab order[] = {ProjectTab::kWallpaper, ProjectTab::kPreviewWindow,
                              ProjectTab::kSettingsWindow, ProjectTab::kInstaller};
  for (ProjectTab tab : order) {
    if (int message = host.ValidateTab(tab)) {
      host.ShowTab(tab);
      ShowError(host, ToolMessage(message));
      return 0;
    }
  }

  host.SetProgressStep(1);
  host.SetProgressRange(0, 5);
  host.ShowProgress();
  host.SetStatus(ToolMessage(19));
  host.StepProgress();
  host.StepProgress();

  BuildState& state = host.State();
  const std::string config = state.temporaryFolder + "instcfg.ini";
  if (!WriteProjectIni(host.Tabs(), SystemProfile(), config, 0, state)) {
    RemoveFile(config);
    ShowError(host, WithPath(14, config));
    return 0;
  }

  std::vector<std::string> members;
  std::string missing;
  if (!CollectMembers(host, config, missing, members)) {
    ShowError(host, missing);
    return 0;
  }
  PayloadArchive archive;
  for (const std::string& member : members) archive.AddFile(member);

  InstallerSettings installer;
  host.Tabs().GetInstaller(installer);
  const std::string output = installer.installerFilePath;
  ClearOutput(output);

  host.SetStatus(ToolMessage(20));
  host.StepProgress();
  int result = archive.WriteInstaller(kStubResourceId, output, nullptr, 0);
  if (result == kArchiveOk) {
    host.SetStatus(ToolMessage(21));
    host.StepProgress();
    RemoveFile(config);
    if (state.generatedPreview) RemoveFile(state.generatedPreviewImage);
    if (state.generatedInstaller) RemoveFile(state.generatedInstallerImage);
    state.generatedPreview = state.generatedInstaller = false;
    state.generatedPreviewImage.clear();
    state.generatedInstallerImage.clear();
    host.StepProgress();
    host.Pause(500);
    return 1;
  }
  RemoveFile(config);
  RemoveFile(output);
  ShowError(host, WithPath(15, output));
  return 0;
}

}  // namespace zarvane
