#include "archive_file.h"
#include "build_checks.h"
#include "build_installer_headless.h"
#include "cli_command.h"
#include "code_page.h"
#include "installer_page.h"
#include "output_rule.h"
#include "file_messages.h"
#include "project_host.h"
#include "terminal_text.h"
#include "path_words.h"
#include "wallpaper_page.h"

namespace zarvane {

static int RunPage(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kPageCommand = {
    "page", "writes the wallpaper page an installer of the project would write",
    "usage: zarvane-cli page PROJECT.zvp [-o FILE] [--codepage N]\n"
    "\n"
    "Writes the wallpaper page (HTML) exactly as the project's installer would write it on\n"
    "the recipient's machine: the project's wallpaper name, the files by their bare names, and\n"
    "the default preview picture's name when the project chooses no preview image of its own.\n"
    "The project is checked as for a preview first.\n"
    "\n"
    "  -o FILE        write the page to FILE instead of standard output\n"
    ZARVANE_CODEPAGE_HELP,
    RunPage};

// The page as the installer writes it from the "instcfg.ini" a build of this project carries.
WallpaperPageFields InstallerPageFields(ProjectTabs& tabs) {
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  tabs.GetWallpaper(wallpaper);
  tabs.GetPreview(preview);
  WallpaperPageFields f;
  f.name = wallpaper.name;
  f.movieSource = BareName(wallpaper.movieFile);
  f.imageSource = preview.showImage ? BareName(preview.imageFile) : wallpaper.name + "Preview.bmp";
  f.backgroundSource = BareName(wallpaper.backgroundImage);
  f.backgroundColour = ColourFromText(wallpaper.colourText);
  f.quality = wallpaper.quality;
  f.loop = wallpaper.loop ? "TRUE" : "FALSE";
  f.hAlign = wallpaper.hAlign;
  f.vAlign = wallpaper.vAlign;
  f.backgroundPosition = wallpaper.backgroundPosition;
  f.scale = wallpaper.movieSize;
  return f;
}

static int RunPage(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string project, output, codePage = "1252";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" || args[i] == "--codepage") {
      if (i + 1 >= args.size()) return UsageError(kPageCommand, args[i] + " needs a value", err);
      (args[i] == "-o" ? output : codePage) = args[i + 1];
      ++i;
    } else if (!args[i].empty() && args[i][0] == '-') {
      return UsageError(kPageCommand, "unknown option " + args[i], err);
    } else if (project.empty()) {
      project = args[i];
    } else {
      return UsageError(kPageCommand, "expects one PROJECT.zvp", err);
    }
  }
  if (project.empty()) return UsageError(kPageCommand, "expects one PROJECT.zvp", err);

  CliProjectHost host(err);
  std::string codePageRefusal = host.SetCodePage(codePage);
  if (!codePageRefusal.empty()) return UsageError(kPageCommand, codePageRefusal, err);
  if (!host.OpenOrTell(project)) return kExitFailure;
  // The name and paths the installer sees are those that passed the build's checks.
  for (ProjectTab tab : {ProjectTab::kWallpaper, ProjectTab::kPreviewWindow}) {
    if (int message = host.ValidateTab(tab)) {
      host.Prompt().Show("Error", ToolMessage(message), kPromptOk | kPromptIconExclamation);
      return kExitFailure;
    }
  }
  std::string page = WallpaperPageText(InstallerPageFields(host.tabs));
  if (output.empty()) {
    out << page;
    return kExitOk;
  }
  const std::string path = FullPath(output);
  if (!host.OutputAllowed(path, ProjectInputs(host.tabs, host.ProjectFile()))) return kExitFailure;
  // An older page stays until the new one is whole.
  ArchiveFile file;
  std::string fresh;
  bool written = !IsNonFileAt(path) && file.CreateFresh(FolderOf(path), fresh) &&
                 file.Write(page.data(), page.size());
  written = file.Close() && written && MoveOver(fresh, path);
  if (!written) {
    if (!fresh.empty()) RemoveCreatedFile(fresh);
    return FileFailure(err, output, "cannot be written");
  }
  return kExitOk;
}

}  // namespace zarvane
