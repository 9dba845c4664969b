#include <cctype>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>

#include "archive_file.h"
#include "build_checks.h"
#include "build_installer_headless.h"
#include "file_messages.h"
#include "host_text.h"
#include "project_host.h"
#include "browser_shot.h"
#include "cli_command.h"
#include "code_page.h"
#include "export_package.h"
#include "file_system.h"
#include "installer_page.h"
#include "output_rule.h"
#include "path_words.h"
#include "preview_folder.h"
#include "terminal_text.h"
#include "wallpaper_words.h"

namespace zarvane {

static int RunPreview(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kPreviewCommand = {
    "preview", "shows the wallpaper as the desktop would, in a PNG or a folder for a browser",
    "usage: zarvane-cli preview PROJECT.zvp [-o FILE.png] [--size WxH] [--at SECONDS]\n"
    "                          [--html DIR] [--browser PROGRAM] [--codepage N]\n"
    "\n"
    "Renders the wallpaper page an installation of the project would write, with the web\n"
    "Flash player Ruffle in headless Chromium, once the movie has loaded and played a while.\n"
    "Nothing is fetched from the network: the page reads only the files beside it.\n"
    "\n"
    "  -o FILE.png        the screenshot (default: <wallpaper name>-preview.png beside the\n"
    "                     project, replaced only when it is a PNG)\n"
    "  --size WxH         the screen's size in pixels (default 1024x768)\n"
    "  --at SECONDS       how long the movie plays before the shot (default 1)\n"
    "  --html DIR         write the preview folder (page, its files, the player) into DIR, which\n"
    "                     must be new or empty, instead of taking a screenshot\n"
    "  --browser PROGRAM  the Chromium to use (default: chromium on PATH)\n"
    ZARVANE_CODEPAGE_HELP,
    RunPreview};

namespace {

struct PreviewOptions {
  std::string project, output, htmlFolder, browser = "chromium", codePage = "1252";
  int width = 1024, height = 768;
  double playSeconds = 1;
};

bool ParseSize(const std::string& text, int& width, int& height) {
  int w = 0, h = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2) return false;
  if (w < 16 || h < 16 || w > 8192 || h > 8192) return false;
  width = w;
  height = h;
  return true;
}

// Gives kExitOk or the usage error's exit code.
int ParseOptions(const std::vector<std::string>& args, PreviewOptions& options, std::ostream& err) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool takesValue = arg == "-o" || arg == "--size" || arg == "--at" || arg == "--html" ||
                      arg == "--browser" || arg == "--codepage";
    if (takesValue && i + 1 >= args.size())
      return UsageError(kPreviewCommand, arg + " needs a value", err);
    if (arg == "-o") {
      options.output = args[++i];
    } else if (arg == "--size") {
      if (!ParseSize(args[++i], options.width, options.height))
        return UsageError(kPreviewCommand, "--size takes WIDTHxHEIGHT, 16 to 8192 each", err);
    } else if (arg == "--at") {
      if (!ParseSeconds(args[++i], options.playSeconds))
        return UsageError(kPreviewCommand, "--at takes seconds from 0 to 600", err);
    } else if (arg == "--html") {
      options.htmlFolder = args[++i];
    } else if (arg == "--browser") {
      options.browser = args[++i];
    } else if (arg == "--codepage") {
      options.codePage = args[++i];
    } else if (!arg.empty() && arg[0] == '-') {
      return UsageError(kPreviewCommand, "unknown option " + arg, err);
    } else if (options.project.empty()) {
      options.project = arg;
    } else {
      return UsageError(kPreviewCommand, "expects one PROJECT.zvp", err);
    }
  }
  if (options.project.empty()) return UsageError(kPreviewCommand, "expects one PROJECT.zvp", err);
  if (!options.htmlFolder.empty() && !options.output.empty())
    return UsageError(kPreviewCommand, "-o and --html exclude each other", err);
  return kExitOk;
}

// What an earlier preview wrote: the default output is replaced only by its like.
bool IsPngFile(const std::string& path) {
  ArchiveFile file;
  char head[8];
  return file.OpenRead(path) && file.Read(head, sizeof head) == sizeof head &&
         std::string(head, sizeof head) == "\x89PNG\r\n\x1a\n";
}

bool IsNewOrEmptyFolder(const std::string& name) {
  const std::string folder = HostPath(name);
  std::error_code failure;
  if (!std::filesystem::exists(folder, failure)) return std::filesystem::create_directories(folder, failure);
  return std::filesystem::is_directory(folder, failure) &&
         std::filesystem::is_empty(folder, failure);
}

}  // namespace

struct PreviewSources {
  WallpaperSettings wallpaper;
  PreviewSettings preview;
  std::string installedPage;
};

// --html: the folder kept for a browser.
static int KeepPreviewFolder(const PreviewOptions& options, const PreviewSources& sources,
                             std::ostream& out, std::ostream& err) {
  std::string folder = FullPath(options.htmlFolder) + "/";
  if (!IsNewOrEmptyFolder(folder)) {
    return FileFailure(err, options.htmlFolder, "must be a new or empty folder");
  }
  std::string error;
  std::string page = WritePreviewFolder(folder, sources.installedPage, sources.wallpaper,
                                        sources.preview, kPreviewPlayerFolder, error);
  if (page.empty()) return FileFailure(err, options.htmlFolder, error);
  out << "Open " << PageUrl(page) << "\nin Chromium started with --allow-file-access-from-files"
      << " (the player reads its files beside the page).\n";
  return kExitOk;
}

static int RunPreview(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  PreviewOptions options;
  if (int usage = ParseOptions(args, options, err)) return usage;
  if (!*kPreviewPlayerFolder) {
    return FileFailure(err, options.project,
                       "this build carries no web Flash player; the Linux build fetches one");
  }
  std::string browser;
  if (options.htmlFolder.empty()) {
    browser = FindProgram(options.browser);
    if (browser.empty()) {
      return FileFailure(err, options.browser,
                         "Chromium not found: install the package chromium or name the browser "
                         "with --browser");
    }
  }

  CliProjectHost host(err);
  std::string codePageRefusal = host.SetCodePage(options.codePage);
  if (!codePageRefusal.empty()) return UsageError(kPreviewCommand, codePageRefusal, err);
  if (!host.OpenOrTell(options.project)) return kExitFailure;
  for (ProjectTab tab : {ProjectTab::kWallpaper, ProjectTab::kPreviewWindow}) {
    if (int message = host.ValidateTab(tab)) {
      host.Prompt().Show("Error", ToolMessage(message), kPromptOk | kPromptIconExclamation);
      return kExitFailure;
    }
  }
  PreviewSources sources;
  host.tabs.GetWallpaper(sources.wallpaper);
  host.tabs.GetPreview(sources.preview);
  sources.installedPage = WallpaperPageText(InstallerPageFields(host.tabs));
  const std::vector<std::string> inputs = ProjectInputs(host.tabs, host.ProjectFile());
  if (!options.htmlFolder.empty()) {
    if (!host.OutputAllowed(FullPath(options.htmlFolder), inputs, OutputKind::kFolder))
      return kExitFailure;
    return KeepPreviewFolder(options, sources, out, err);
  }

  std::string output =
      options.output.empty()
          ? FolderOf(host.ProjectFile()) + sources.wallpaper.name + "-preview.png"
          : FullPath(options.output);
  host.outputNamed = !options.output.empty();
  if (!host.OutputAllowed(output, inputs) ||
      !host.MayReplace(output, IsPngFile(output), "a PNG picture"))
    return kExitFailure;
  std::string png, error;
  if (!ShootWallpaperPage(browser, sources.installedPage, sources.wallpaper, sources.preview,
                          options.width, options.height, options.playSeconds, png, error))
    return FileFailure(err, options.project, error);
  if (!ReplaceFileContents(output, png)) return FileFailure(err, output, "cannot be written");
  out << output << "\n";
  return kExitOk;
}

}  // namespace zarvane
