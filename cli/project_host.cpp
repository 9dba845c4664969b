#include "project_host.h"

#include "code_page.h"
#include "file_messages.h"
#include "file_system.h"
#include "host_text.h"
#include "project_file.h"
#include "path_words.h"
#include "project_check.h"
#include "text.h"
#include "tab_rules.h"

namespace zarvane {

int ProjectPrompt::Show(const std::string& caption, const std::string& text, unsigned style) {
  if (caption != "Error") return StreamPrompt::Show(caption, text, style);
  std::string key = host_.KeyAtFault(text);
  FileFailure(err_, host_.ProjectFile(), key.empty() ? text : key + ": " + text);
  return kAnswerOk;
}

CliProjectHost::CliProjectHost(std::ostream& err)
    : HeadlessBuildHost(prompt_), err_(err), prompt_(err, *this) {}

int CliProjectHost::ValidateTab(ProjectTab tab) {
  lastRefusal_ = tabs.Validate(tab);
  return lastRefusal_.message;
}

bool CliProjectHost::OpenOrTell(const std::string& project) {
  std::string why = WhyUnreadable(project);
  if (!why.empty()) {
    FileFailure(err_, project, why);
    return false;
  }
  std::string text;
  if (!ReadWholeFile(project, text)) return FileFailure(err_, project, "cannot be read"), false;
  if (!IsUtf8BeyondAscii(text)) {
    if (!Open(FullPath(project))) {
      FileFailure(err_, project, "cannot be read as a project file");
      return false;
    }
    return true;
  }
  std::string converted;
  if (!InCodePage(project, text, converted)) return false;
  // Read from a private copy; paths are still taken from the project's own folder.
  std::string folder = MakePrivateTempFolder();
  bool read = !folder.empty() && ReplaceFileContents(folder + "project.zvp", converted) &&
              OpenProject(tabs, SystemProfile(), folder + "project.zvp");
  if (!folder.empty()) RemoveFolderAndFiles(folder);
  if (!read) {
    FileFailure(err_, project, "cannot be read as a project file");
    return false;
  }
  projectFile = FullPath(project);
  tabs.ResolvePathsAgainst(FolderOf(projectFile));
  return true;
}

std::string CliProjectHost::SetCodePage(const std::string& text) {
  std::string why = UseCodePage(text);
  if (why.empty()) codePage = HostCodePage();
  return why;
}

bool CliProjectHost::InCodePage(const std::string& project, const std::string& utf8,
                                std::string& converted) {
  std::string section;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = utf8.find('\n', start);
    end = end == std::string::npos ? utf8.size() : end + 1;
    std::string line = utf8.substr(start, end - start), bytes;
    if (!Utf8ToCodePage(line, codePage, bytes)) {
      std::string trimmed = Trim(line);
      std::string where = trimmed.rfind('[', 0) == 0 ? trimmed
                          : "[" + section + "] " + Trim(trimmed.substr(0, trimmed.find('=')));
      std::string value = trimmed.substr(trimmed.find('=') + 1);
      FileFailure(err_, project, where + ": '" + value + "' has a character that code page " +
                                     std::to_string(codePage) + " cannot hold");
      return false;
    }
    std::string trimmed = Trim(bytes);
    if (trimmed.size() > 1 && trimmed[0] == '[' && trimmed.back() == ']')
      section = Trim(line).substr(1, Trim(line).size() - 2);
    converted += bytes;
    start = end;
  }
  return true;
}

int CliProjectHost::TellSilentReplacements() {
  std::vector<std::string> found = SilentReplacements(ProjectFile(), tabs);
  for (const std::string& line : found) FileFailure(err_, ProjectFile(), "warning: " + line);
  return static_cast<int>(found.size());
}

void CliProjectHost::TellDefaultInstallerPath() {
  if (!Trim(tabs.installer.installerPath).empty() || Trim(tabs.wallpaper.name).empty()) return;
  tabs.installer.installerPath = FolderOf(ProjectFile()) + Trim(tabs.wallpaper.name) + " Setup.exe";
  FileFailure(err_, ProjectFile(),
              "no [Installer] InstallerFilePath; the installer goes beside the project as '" +
                  tabs.installer.installerPath + "'");
}

int CliProjectHost::TellRefusals() {
  int refusals = 0;
  for (ProjectTab tab : {ProjectTab::kWallpaper, ProjectTab::kPreviewWindow,
                         ProjectTab::kSettingsWindow, ProjectTab::kInstaller}) {
    if (int message = ValidateTab(tab)) {
      Prompt().Show("Error", ToolMessage(message), kPromptOk | kPromptIconExclamation);
      ++refusals;
    }
  }
  return refusals;
}

std::string CliProjectHost::KeyAtFault(const std::string& message) const {
  if (lastRefusal_.message == 0 || ToolMessage(lastRefusal_.message) != message) return "";
  const struct {
    TabField field;
    const char* key;
    const std::string& value;
  } keys[] = {
      {TabField::kMovieFile, "[Movie] SWFFile", tabs.wallpaper.movieFile},
      {TabField::kBackgroundImage, "[Wallpaper] BackImage", tabs.wallpaper.backgroundImage},
      {TabField::kName, "[ScreenSaver] Name", tabs.wallpaper.name},
      {TabField::kPreviewImage, "[Wallpaper] PrevMon", tabs.preview.imageFile},
      {TabField::kInstallerPath, "[Installer] InstallerFilePath", tabs.installer.installerPath},
      {TabField::kInstallerPicture, "[Installer] MovieOrImageFile", tabs.installer.picturePath},
      {TabField::kLicence, "[Installer] LicenseFile", tabs.installer.licencePath},
  };
  for (const auto& k : keys) {
    if (k.field == lastRefusal_.field) return std::string(k.key) + " '" + Printable(k.value) + "'";
  }
  return "";
}

}  // namespace zarvane
