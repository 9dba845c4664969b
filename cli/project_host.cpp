#include "project_host.h"

#include "code_page.h"
#include "file_messages.h"
#include "file_system.h"
#include "host_text.h"
#include "project_file.h"
#include "project_text.h"
#include "path_words.h"
#include "project_check.h"
#include "text.h"
#include "tab_rules.h"

namespace zarvane {
namespace {

// Movies, pictures and programs all hold NUL bytes; a text in a narrow code page never does
// (UTF-16 is converted before). Other control characters may be a project's hostile value.
bool IsPlainText(const std::string& text) { return text.find('\0') == std::string::npos; }

}  // namespace

int ProjectPrompt::Show(const std::string& caption, const std::string& text, unsigned style) {
  if (caption != "Error") return StreamPrompt::Show(caption, text, style);
  std::string key = host_.KeyAtFault(text);
  FileFailure(err_, host_.ProjectFile(), key.empty() ? text : key + ": " + text);
  return kAnswerOk;
}

CliProjectHost::CliProjectHost(std::ostream& err)
    : HeadlessBuildHost(prompt_), err_(err), prompt_(err, *this) {}

CliProjectHost::~CliProjectHost() {
  if (!scratch_.empty()) RemoveFolderAndFiles(scratch_);
}

bool CliProjectHost::ConvertLicence() {
  std::string& licence = tabs.installer.licencePath;
  std::string text;
  if (!tabs.installer.licence || licence.empty() || !WhyUnreadable(licence).empty() ||
      !ReadWholeFile(licence, text))
    return true;
  bool marked = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
  if (!marked && !IsUtf8BeyondAscii(text)) return true;
  std::string converted;
  if (!Utf8ToCodePage(text, codePage, converted)) {
    // The first character that stopped it, and its line.
    std::size_t line = 1;
    std::string done;
    for (std::size_t i = marked ? 3 : 0, next; i < text.size(); i = next) {
      next = i + 1;
      while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
      if (!Utf8ToCodePage(text.substr(i, next - i), codePage, done)) {
        FileFailure(err_, licence, "the licence is UTF-8, and its character '" +
                                       text.substr(i, next - i) + "' on line " +
                                       std::to_string(line) + " has no place in code page " +
                                       std::to_string(codePage) + "; choose another --codepage "
                                       "or save the licence in that code page");
        return false;
      }
      if (text[i] == '\n') ++line;
    }
    return FileFailure(err_, licence, "the licence is UTF-8 and cannot be converted"), false;
  }
  if (scratch_.empty()) scratch_ = MakePrivateTempFolder();
  std::string copy = scratch_.empty() ? "" : scratch_ + BareName(licence);
  if (copy.empty() || !ReplaceFileContents(copy, converted)) {
    FileFailure(err_, licence, "cannot be converted: no private temporary folder");
    return false;
  }
  FileFailure(err_, licence,
              "note: the licence is UTF-8; it is packed converted to code page " +
                  std::to_string(codePage) + ", as the installer shows it");
  licence = copy;
  return true;
}

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
  // The Windows profile functions read UTF-16 with a byte-order mark, so Zarvane.exe does too.
  std::string converted;
  ProjectEncoding encoding;
  ProjectTextRefusal refusal;
  if (!ProjectTextInCodePage(text, codePage, converted, encoding, refusal)) {
    if (refusal.where.empty()) {
      FileFailure(err_, project, "cannot be read: its UTF-16 text is damaged");
    } else {
      FileFailure(err_, project, refusal.where + ": '" + refusal.value +
                                     "' has a character that code page " +
                                     std::to_string(codePage) + " cannot hold");
    }
    return false;
  }
  // A movie or a picture given by mistake would read as a project of no keys, every line of
  // its bytes "not a project key".
  if (!IsPlainText(converted)) {
    FileFailure(err_, project, "not a project file (it is not text)");
    return false;
  }
  if (encoding == ProjectEncoding::kCodePage) {
    if (!Open(FullPath(project))) {
      FileFailure(err_, project, "cannot be read as a project file");
      return false;
    }
    readable_ = ProjectFile();
    return true;
  }
  // Read from a private copy; paths are still taken from the project's own folder.
  if (scratch_.empty()) scratch_ = MakePrivateTempFolder();
  readable_ = scratch_.empty() ? "" : scratch_ + "project.zvp";
  bool read = !readable_.empty() && ReplaceFileContents(readable_, converted) &&
              OpenProject(tabs, SystemProfile(), readable_);
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

int CliProjectHost::TellSilentReplacements() {
  std::vector<std::string> found = SilentReplacements(readable_, tabs);
  for (const std::string& line : found) FileFailure(err_, ProjectFile(), "warning: " + line);
  return static_cast<int>(found.size());
}

void CliProjectHost::TellDefaultInstallerPath() {
  if (!Trim(tabs.installer.installerPath).empty() || Trim(tabs.wallpaper.name).empty()) return;
  tabs.installer.installerPath = FolderOf(ProjectFile()) + Trim(tabs.wallpaper.name) + " Setup.exe";
  FileFailure(err_, ProjectFile(),
              "warning: no [Installer] InstallerFilePath: Build Now refuses that (" +
                  ToolMessage(10) + "); zarvane-cli puts the installer beside the project as '" +
                  tabs.installer.installerPath + "'");
}

bool CliProjectHost::OutputAllowed(const std::string& output,
                                   const std::vector<std::string>& inputs, OutputKind kind) {
  int message = OutputRefusal(output, inputs, kind);
  if (message == 0) return true;
  Prompt().Show("Error", OutputRefusalText(message, output), kPromptOk | kPromptIconExclamation);
  return false;
}

bool CliProjectHost::MayReplace(const std::string& output, bool ownKind, const std::string& kind) {
  if (outputNamed || ownKind || !FileExists(output)) return true;
  FileFailure(err_, ProjectFile(),
              "'" + output + "' is a file that is not " + kind +
                  "; it is replaced only when named with -o");
  return false;
}

bool CliProjectHost::ConfirmReplacing(const std::string& output) {
  return MayReplace(output, false, "an installer");
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
      {TabField::kStillImage, "[Wallpaper] StillImage", tabs.wallpaper.stillImage},
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
