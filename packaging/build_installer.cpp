#include "build_installer.h"

#include <initializer_list>
#include <vector>

#include "archive_file.h"
#include "build_checks.h"
#include "build_folder.h"
#include "output_rule.h"
#include "file_system.h"
#include "host_text.h"
#include "path_words.h"
#include "payload_archive.h"
#include "profile.h"
#include "tab_rules.h"
#include "text.h"
#include "wallpaper_words.h"

namespace zarvane {
namespace {

// The tool's message with its placeholders filled in order.
std::string Message(int message, std::initializer_list<std::string> values) {
  std::string text = ToolMessage(message);
  std::size_t at = 0;
  for (const std::string& value : values) {
    at = text.find('%', at);
    if (at == std::string::npos || at + 1 >= text.size()) break;
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

void ShowError(BuildHost& host, const std::string& text) {
  host.Prompt().Show("Error", text, kPromptOk | kPromptIconExclamation);
}

// The records of the tabs the build reads.
struct BuildRecords {
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  InstallerSettings installer;
  explicit BuildRecords(BuildHost& host) {
    host.Tabs().GetWallpaper(wallpaper);
    host.Tabs().GetPreview(preview);
    host.Tabs().GetInstaller(installer);
  }
};

int AddRefusalMessage(AddRefusal why) {
  switch (why) {
    case AddRefusal::kFull: return 75;
    case AddRefusal::kBadName: return 76;
    case AddRefusal::kTooLarge: return 78;
    default: return 77;
  }
}

// Every member into the archive, each under a name of its own. False once one was refused.
bool PackMembers(BuildHost& host, const std::vector<std::string>& members,
                 PayloadArchive& archive) {
  std::vector<PackedFile> files;
  for (std::size_t i = 0; i < members.size(); ++i) {
    PackedFile file{members[i], BareName(members[i])};
    if (i > 0 && IsInstallersOwnName(file.name)) {
      ShowError(host, Message(80, {file.path}));
      return false;
    }
    files.push_back(file);
  }
  std::size_t first = 0, second = 0;
  if (FindNameClash(files, first, second)) {
    ShowError(host, Message(79, {files[second].path, files[first].path}));
    return false;
  }
  // The same file twice travels once: where it comes first, but the movie keeps the last place.
  const std::size_t movie = files.size() - 1;
  for (std::size_t i = 0; i < files.size(); ++i) {
    bool packedElsewhere = i < movie && SameNameIgnoringCase(files[i].name, files[movie].name);
    for (std::size_t j = 0; j < i && i < movie; ++j)
      packedElsewhere = packedElsewhere || SameNameIgnoringCase(files[j].name, files[i].name);
    if (packedElsewhere) continue;
    AddRefusal why = AddRefusal::kNone;
    if (!archive.AddFile(files[i].path, &why)) {
      ShowError(host, Message(AddRefusalMessage(why), {files[i].path}));
      return false;
    }
  }
  return true;
}

}  // namespace

bool BuildHost::ConfirmReplacing(const std::string& output) {
  return Prompt().Show("Replace", Message(89, {output}), kPromptYesNo | kPromptIconQuestion) ==
         kAnswerYes;
}

bool CollectMembers(BuildHost& host, const BuildState& state, const std::string& configFile,
                    const std::string& flashControl, std::string& missingMessage,
                    std::vector<std::string>& members) {
  const BuildRecords records(host);
  const WallpaperSettings& wallpaper = records.wallpaper;
  const InstallerSettings& installer = records.installer;

  members.push_back(configFile);
  if (!state.installerImageIsMovie) {
    if (!state.generatedInstallerImage.empty()) members.push_back(state.generatedInstallerImage);
    if (!installer.movieOrImageFile.empty()) members.push_back(installer.movieOrImageFile);
  }
  if (installer.showLicence) members.push_back(installer.licenseFile);
  if (!wallpaper.backgroundImage.empty()) members.push_back(wallpaper.backgroundImage);
  if (!wallpaper.stillImage.empty()) members.push_back(wallpaper.stillImage);
  if (!records.preview.imageFile.empty()) members.push_back(records.preview.imageFile);
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
  // A control that is nowhere to be found stays behind; the host has said so.
  if (IsExistingFile(flashControl)) members.push_back(flashControl);
  members.push_back(wallpaper.movieFile);
  return true;
}

// Every check of Build Now; with `write` the installer is then written.
static int Build(BuildHost& host, bool write) {
  const ProjectTab order[] = {ProjectTab::kWallpaper, ProjectTab::kPreviewWindow,
                              ProjectTab::kSettingsWindow, ProjectTab::kInstaller};
  for (ProjectTab tab : order) {
    if (int message = host.ValidateTab(tab)) {
      host.ShowTab(tab);
      ShowError(host, ToolMessage(message));
      return 0;
    }
  }
  const BuildRecords records(host);
  const std::string output = records.installer.installerFilePath;
  const std::string flashControl =
      records.installer.includeFlashControl ? host.FlashControlFile() : std::string();
  std::vector<std::string> inputs = ProjectInputs(host.Tabs(), host.ProjectFile());
  inputs.push_back(flashControl);
  if (int message = OutputRefusal(output, inputs)) {
    host.ShowTab(ProjectTab::kInstaller);
    ShowError(host, OutputRefusalText(message, output));
    return 0;
  }
  std::size_t listLength = BareNameList(records.wallpaper.resourceFiles).size();
  if (listLength > kInstallerValueLimit) {
    host.ShowTab(ProjectTab::kWallpaper);
    ShowError(host, Message(81, {"instcfg.ini", std::to_string(listLength),
                                 std::to_string(kInstallerValueLimit)}));
    return 0;
  }

  if (write) {
    host.SetProgressStep(1);
    host.SetProgressRange(0, 5);
    host.ShowProgress();
    host.SetStatus(ToolMessage(19));
    host.StepProgress();
    host.StepProgress();
  }

  BuildFolder folder(host.State().temporaryFolder);
  if (!folder.Made()) {
    ShowError(host, Message(73, {host.State().temporaryFolder}));
    return 0;
  }
  // The pictures and "instcfg.ini" live in the build's folder and go with it.
  BuildState state = host.State();
  state.temporaryFolder = folder.Path();
  const std::string config = folder.Path() + "instcfg.ini";
  if (!WriteProjectIni(host.Tabs(), SystemProfile(), config, 0, state)) {
    for (const std::string& picture : {state.generatedPreviewImage, state.generatedInstallerImage}) {
      if (!picture.empty() && !FileExists(picture)) {
        ShowError(host, Message(74, {picture}));
        return 0;
      }
    }
    ShowError(host, Message(14, {config}));
    return 0;
  }

  std::vector<std::string> members;
  std::string missing;
  if (!CollectMembers(host, state, config, flashControl, missing, members)) {
    ShowError(host, missing);
    return 0;
  }
  PayloadArchive archive;
  if (!PackMembers(host, members, archive)) return 0;
  if (!write) return 1;
  // A file that no build wrote is somebody's own: it goes only when the host agrees.
  if (FileExists(output) && !IsInstallerFile(output) && !host.ConfirmReplacing(output)) return 0;

  host.SetStatus(ToolMessage(20));
  host.StepProgress();
  int written = archive.WriteInstaller(kStubResourceId, output, nullptr, 0);
  if (written == kArchiveSourceFailed) {
    ShowError(host, Message(83, {archive.FailedSource()}));
    return 0;
  }
  if (written != kArchiveOk) {
    ShowError(host, Message(15, {output}));
    return 0;
  }
  host.SetStatus(ToolMessage(21));
  host.StepProgress();
  host.StepProgress();
  host.Pause(500);
  return 1;
}

int BuildInstaller(BuildHost& host) { return Build(host, true); }

int CheckBuild(BuildHost& host) { return Build(host, false); }

}  // namespace zarvane
