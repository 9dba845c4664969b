#include <filesystem>

#include "archive_file.h"
#include "browser_shot.h"
#include "build_checks.h"
#include "build_installer_headless.h"
#include "cli_command.h"
#include "code_page.h"
#include "export_package.h"
#include "export_zip.h"
#include "file_messages.h"
#include "file_system.h"
#include "host_text.h"
#include "installer_page.h"
#include "output_rule.h"
#include "path_words.h"
#include "project_host.h"
#include "terminal_text.h"
#include "wallpaper_page.h"
#include "wallpaper_words.h"

namespace zarvane {

static int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kExportCommand = {
    "export", "packs the wallpaper for the live-wallpaper programs Lively and Wallpaper Engine",
    "usage: zarvane-cli export PROJECT.zvp [--lively FILE.zip] [--wallpaper-engine DIR]\n"
    "                         [--browser PROGRAM] [--codepage N]\n"
    "\n"
    "Packs the wallpaper page an installation of the project would write, as index.html with\n"
    "its files and the web Flash player Ruffle, the way the two programs import a web\n"
    "wallpaper. The page plays opened straight from its folder; nothing is fetched from the\n"
    "network. The project is checked as for `page` first. An existing package is replaced\n"
    "only once the new one is complete.\n"
    "\n"
    "  --lively FILE.zip        a zip for Lively Wallpaper (with LivelyInfo.json)\n"
    "  --wallpaper-engine DIR   a folder for Wallpaper Engine (with project.json); DIR must be\n"
    "                           new, empty or an earlier export\n"
    "  --browser PROGRAM        the Chromium that photographs the thumbnail (default:\n"
    "                           chromium on PATH; else the thumbnail is the background "
    "colour)\n" ZARVANE_CODEPAGE_HELP,
    RunExport};

namespace {

namespace fs = std::filesystem;

#ifdef ZARVANE_PLAYER_DIR
const char kPlayerFolder[] = ZARVANE_PLAYER_DIR;
#else
const char kPlayerFolder[] = "";
#endif

struct ExportOptions {
  std::string project, lively, wallpaperEngine, browser = "chromium", codePage = "1252";
};

int ParseOptions(const std::vector<std::string>& args, ExportOptions& options, std::ostream& err) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string* value = arg == "--lively"             ? &options.lively
                         : arg == "--wallpaper-engine" ? &options.wallpaperEngine
                         : arg == "--browser"          ? &options.browser
                         : arg == "--codepage"         ? &options.codePage
                                                       : nullptr;
    if (value) {
      if (i + 1 >= args.size()) return UsageError(kExportCommand, arg + " needs a value", err);
      *value = args[++i];
      if (value->empty()) return UsageError(kExportCommand, arg + " needs a value", err);
    } else if (!arg.empty() && arg[0] == '-') {
      return UsageError(kExportCommand, "unknown option " + arg, err);
    } else if (options.project.empty()) {
      options.project = arg;
    } else {
      return UsageError(kExportCommand, "expects one PROJECT.zvp", err);
    }
  }
  if (options.project.empty()) return UsageError(kExportCommand, "expects one PROJECT.zvp", err);
  if (options.lively.empty() && options.wallpaperEngine.empty())
    return UsageError(kExportCommand, "needs --lively FILE.zip or --wallpaper-engine DIR", err);
  return kExitOk;
}

// PathKey spells a path as Windows compares it; a folder holds a path whose key starts with its
// own and a separator.
bool IsInside(const std::string& path, const std::string& folder) {
  std::string inner = PathKey(path), outer = PathKey(folder);
  if (!outer.empty() && outer.back() == '\\') outer.pop_back();
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
         inner[outer.size()] == '\\';
}

// An export writes the folder whole, so it may only take the place of nothing, of an empty
// folder, or of what an earlier export wrote.
std::string WhyNotReplaceable(const std::string& folder) {
  std::error_code failure;
  fs::file_status status = fs::symlink_status(FileSystemPath(folder), failure);
  if (!fs::exists(status)) return "";
  if (!fs::is_directory(status)) return "is not a folder";
  if (fs::is_empty(FileSystemPath(folder), failure)) return "";
  if (FileExists(folder + "/project.json") && FileExists(folder + "/" + kPlayerFilesScriptName))
    return "";
  return "is a folder with other files in it; name a new or empty folder, or an earlier export";
}

// The finished folder `fresh` in the place of `target`; an earlier export goes only once the
// new one stands there.
bool PutFolderInPlace(const std::string& fresh, const std::string& target,
                      const std::string& parent) {
  std::error_code failure;
  fs::path to = FileSystemPath(target);
  if (!fs::exists(fs::symlink_status(to, failure))) {
    fs::rename(FileSystemPath(fresh), to, failure);
    return !failure;
  }
  std::string old = MakeRunFolder(parent, ".zarvane-old-");
  if (old.empty()) return false;
  fs::path aside = FileSystemPath(old) / "export";
  fs::rename(to, aside, failure);
  if (failure) {
    fs::remove(FileSystemPath(old), failure);
    return false;
  }
  fs::rename(FileSystemPath(fresh), to, failure);
  if (failure) {
    std::error_code ignored;
    fs::rename(aside, to, ignored);
    fs::remove(FileSystemPath(old), ignored);
    return false;
  }
  fs::remove_all(FileSystemPath(old), failure);
  return true;
}

bool CopyFolder(const std::string& from, const std::string& to) {
  for (const std::string& name : FilesUnder(from)) {
    std::error_code failure;
    fs::create_directories((FileSystemPath(to) / fs::u8path(name)).parent_path(), failure);
    if (failure || !CopyFileOver(from + name, to + name)) return false;
  }
  return true;
}

int WriteLively(const std::string& output, const std::string& stage, const ExportSources& sources,
                std::ostream& err) {
  std::vector<ZipMember> members;
  for (const std::string& name : FilesUnder(stage)) {
    members.push_back({name, ""});
    if (!ReadWholeFile(stage + name, members.back().data))
      return FileFailure(err, stage + name, "cannot be read back");
  }
  members.push_back({"LivelyInfo.json", LivelyInfoText(sources)});
  std::string zip, error;
  if (!MakeZipArchive(members, zip, error)) return FileFailure(err, output, error);
  ArchiveFile file;
  std::string fresh;
  bool written = !IsNonFileAt(output) && file.CreateFresh(FolderOf(output), fresh) &&
                 file.Write(zip.data(), zip.size());
  written = file.Close() && written && MoveOver(fresh, output);
  if (!written) {
    if (!fresh.empty()) RemoveCreatedFile(fresh);
    return FileFailure(err, output, "cannot be written");
  }
  return kExitOk;
}

int WriteWallpaperEngine(const std::string& output, const std::string& stage,
                         const ExportSources& sources, std::ostream& err) {
  std::string target = output;
  while (target.size() > 1 && IsPathSeparator(target.back())) target.pop_back();
  std::string parent = FolderOf(target);
  std::string fresh = MakeRunFolder(parent, ".zarvane-export-");
  if (fresh.empty()) return FileFailure(err, output, "cannot make a folder beside it");
  bool written = CopyFolder(stage, fresh) &&
                 ReplaceFileContents(fresh + "project.json", WallpaperEngineProjectText(sources)) &&
                 PutFolderInPlace(fresh, target, parent);
  if (!written) {
    std::error_code ignored;
    fs::remove_all(FileSystemPath(fresh), ignored);
    return FileFailure(err, output, "cannot be written");
  }
  return kExitOk;
}

}  // namespace

static int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ExportOptions options;
  if (int usage = ParseOptions(args, options, err)) return usage;
  if (!*kPlayerFolder) {
    return FileFailure(err, options.project,
                       "this build carries no web Flash player; the Linux build fetches one");
  }
  CliProjectHost host(err);
  std::string codePageRefusal = host.SetCodePage(options.codePage);
  if (!codePageRefusal.empty()) return UsageError(kExportCommand, codePageRefusal, err);
  if (!host.OpenOrTell(options.project)) return kExitFailure;
  for (ProjectTab tab : {ProjectTab::kWallpaper, ProjectTab::kPreviewWindow}) {
    if (int message = host.ValidateTab(tab)) {
      host.Prompt().Show("Error", ToolMessage(message), kPromptOk | kPromptIconExclamation);
      return kExitFailure;
    }
  }
  ExportSources sources;
  host.tabs.GetWallpaper(sources.wallpaper);
  host.tabs.GetPreview(sources.preview);
  host.tabs.GetSettingsBox(sources.settingsBox);
  sources.installedPage = WallpaperPageText(InstallerPageFields(host.tabs));

  std::vector<std::string> resources;
  SplitFileList(sources.wallpaper.resourceFiles, resources);
  for (const std::string& resource : resources) {
    if (IsPackagesOwnName(BareName(resource)))
      return FileFailure(err, resource,
                         "is a resource file with a name the package gives its own "
                         "files; rename it");
  }
  const std::vector<std::string> inputs = ProjectInputs(host.tabs, host.ProjectFile());
  std::string lively = options.lively.empty() ? "" : FullPath(options.lively);
  std::string engine = options.wallpaperEngine.empty() ? "" : FullPath(options.wallpaperEngine);
  if ((!lively.empty() && !host.OutputAllowed(lively, inputs)) ||
      (!engine.empty() && !host.OutputAllowed(engine, inputs, OutputKind::kFolder)))
    return kExitFailure;
  if (!lively.empty() && !engine.empty() && (SameFile(lively, engine) || IsInside(lively, engine)))
    return FileFailure(err, options.lively, "lies in the Wallpaper Engine folder");
  if (!engine.empty()) {
    std::string why = WhyNotReplaceable(engine);
    if (!why.empty()) return FileFailure(err, options.wallpaperEngine, why);
  }

  std::string work = MakePrivateTempFolder();
  if (work.empty()) return FileFailure(err, options.project, "cannot make a temporary folder");
  struct Cleanup {
    std::string folder;
    ~Cleanup() {
      std::error_code ignored;
      fs::remove_all(FileSystemPath(folder), ignored);
    }
  } cleanup{work};
  std::string stage = work + "package/", error;
  if (!MakeDirectory(stage)) return FileFailure(err, work, "cannot make the package folder");
  std::string page = WriteExportFolder(stage, sources, kPlayerFolder, error);
  if (page.empty()) return FileFailure(err, options.project, error);
  Thumbnail thumbnail = ChooseThumbnail(FindProgram(options.browser), page, sources, work);
  // A package that cannot play is no wallpaper, and an earlier one that could stays.
  if (!thumbnail.movieFailure.empty())
    return FileFailure(err, options.project, thumbnail.movieFailure);
  if (!ReplaceFileContents(stage + kThumbnailName, thumbnail.png))
    return FileFailure(err, stage, "cannot write the thumbnail");
  out << "thumbnail: " << Printable(thumbnail.what, true) << "\n";

  if (!lively.empty()) {
    if (int failed = WriteLively(lively, stage, sources, err)) return failed;
    out << "Lively Wallpaper: " << Printable(lively) << "\n";
  }
  if (!engine.empty()) {
    if (int failed = WriteWallpaperEngine(engine, stage, sources, err)) return failed;
    out << "Wallpaper Engine: " << Printable(engine) << "\n";
  }
  return kExitOk;
}

}  // namespace zarvane
