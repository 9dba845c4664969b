#include <filesystem>
#include <vector>

#include "archive_file.h"
#include "archive_format.h"
#include "build_checks.h"
#include "path_words.h"
#include "cli_command.h"
#include "code_page.h"
#include "file_messages.h"
#include "file_system.h"
#include "installer_check.h"
#include "payload_archive.h"
#include "terminal_text.h"

namespace zarvane {

static int RunExtract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kExtractCommand = {
    "extract", "extracts every member of an installer into a folder",
    "usage: zarvane-cli extract INSTALLER DIR [--overwrite] [--keep-going] [--codepage N]\n"
    "\n"
    "Extracts every member into the folder DIR, made with its parents when missing, as the\n"
    "installer itself does: of two members named alike the first one stays. Names are\n"
    "converted from the wallpaper's code page. All or nothing: each member is inflated once\n"
    "into a file of its own beside its place and put there only when every member arrived\n"
    "whole, so an installer that verify calls damaged leaves DIR as it was.\n"
    "\n"
    "  --overwrite    replace files in DIR that have a member's name, naming each on stdout;\n"
    "                 without it such a file stops the extraction before anything is written\n"
    "  --keep-going   extract every member that is whole and name the others\n"
    ZARVANE_CODEPAGE_HELP
    "\n"
    "Members that cannot be extracted are named on stderr; the exit status is 0 only when\n"
    "the installer is whole and every member arrived intact.\n",
    RunExtract};

namespace {

// The members' files staged beside their places; whatever was not put in place goes with it.
class StagedMembers {
 public:
  explicit StagedMembers(int count) : files_(static_cast<std::size_t>(count)) {}
  ~StagedMembers() { RemoveAll(); }
  void RemoveAll() {
    for (std::string& file : files_) {
      if (!file.empty()) RemoveCreatedFile(file);
      file.clear();
    }
  }
  std::string& operator[](int index) { return files_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<std::string> files_;
};

}  // namespace

static int RunExtract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> rest, files;
  if (int usage = TakeCodePageOption(kExtractCommand, args, rest, err)) return usage;
  bool keepGoing = false, overwrite = false;
  for (const std::string& arg : rest) {
    if (arg == "--keep-going")
      keepGoing = true;
    else if (arg == "--overwrite")
      overwrite = true;
    else if (!arg.empty() && arg[0] == '-')
      return UsageError(kExtractCommand, "unknown option " + arg, err);
    else
      files.push_back(arg);
  }
  if (files.size() != 2) return UsageError(kExtractCommand, "expects INSTALLER and DIR", err);
  const std::string& installer = files[0];
  PayloadArchive archive;
  std::string unreadable = ReadInstallerDirectory(installer, archive);
  if (!unreadable.empty()) return FileFailure(err, installer, unreadable);
  std::error_code ec;
  std::filesystem::path target = FileSystemPath(files[1]);
  // The levels this command makes, deepest first: taken away again when nothing arrives.
  std::vector<std::filesystem::path> made;
  for (std::filesystem::path p = target; !p.empty() && !std::filesystem::exists(p, ec);
       p = p.parent_path()) {
    made.push_back(p);
    if (p == p.parent_path()) break;
  }
  auto giveUp = [&made](int exitCode) {
    std::error_code ignored;
    for (const std::filesystem::path& level : made) std::filesystem::remove(level, ignored);  // if empty
    return exitCode;
  };
  std::filesystem::create_directories(target, ec);
  std::error_code isFolder;
  if (!std::filesystem::is_directory(target, isFolder)) {
    std::string why = ec ? ec.message() : "not a folder";
    return FileFailure(err, files[1], "cannot make the folder: " + why);
  }
  std::string folder = files[1];
  if (!IsPathSeparator(folder.back())) folder += '/';
  const int count = archive.Count();
  // Everything that needs no inflating is checked before anything is written: a member that
  // would replace the installer itself, a name Windows gives no file, files already there.
  std::vector<bool> nameless(static_cast<std::size_t>(count), false);
  bool anyNameless = false;
  std::vector<std::string> existing;
  for (int i = 0; i < count; ++i) {
    const std::string& name = archive.Member(i).name;
    if (IsWindowsFileName(name) && SameFile(folder + name, installer)) {
      return giveUp(FileFailure(err, installer,
                                "member \"" + name +
                                    "\" would replace the installer itself; extract into another "
                                    "folder"));
    }
    nameless[i] = !IsWindowsFileName(name);
    anyNameless = anyNameless || nameless[i];
    bool listed = false;
    for (const std::string& e : existing) listed = listed || e == name;
    if (!nameless[i] && IsNonFileAt(folder + name)) {
      return giveUp(FileFailure(err, files[1], "holds a folder or device named \"" + name +
                                                   "\", the name of a member; nothing extracted"));
    }
    if (!nameless[i] && !listed && FileExists(folder + name)) existing.push_back(name);
  }
  if (anyNameless && !keepGoing) {
    for (int i = 0; i < count; ++i) {
      if (nameless[i])
        FileFailure(err, installer, "member \"" + archive.Member(i).name +
                                        "\" failed: Windows gives no file that name");
    }
    return giveUp(FileFailure(err, installer,
                              "nothing extracted (--keep-going extracts the other members)"));
  }
  if (!existing.empty() && !overwrite) {
    std::string names;
    for (const std::string& name : existing) names += (names.empty() ? "\"" : ", \"") + name + "\"";
    return giveUp(FileFailure(err, files[1],
                              "already holds " + names +
                                  "; nothing extracted (--overwrite replaces such files)"));
  }

  ArchiveFile file;
  if (!file.OpenRead(installer)) return giveUp(FileFailure(err, installer, WhyUnreadable(installer)));
  // One pass: each member inflated once into a file of its own beside its place, in the order
  // verify reads them, so both name the same member first.
  StagedMembers staged(count);
  auto stop = [&staged, &giveUp](int exitCode) {
    staged.RemoveAll();
    return giveUp(exitCode);
  };
  std::vector<std::string> failures;
  for (int i = 0; i < count; ++i) {
    const std::string member = "member " + std::to_string(i) + " (" + archive.Member(i).name + ")";
    int result = nameless[i] ? kArchiveWriteFailed
                             : archive.StageMember(file, i, folder, staged[i]);
    if (result == kArchiveOk) continue;
    std::string what = result == kArchiveNoPayload ? member + " damaged" : member + " could not be written";
    if (!keepGoing) {
      return stop(FileFailure(err, installer, what +
                                                    "; nothing extracted (--keep-going extracts the "
                                                    "members that are whole)"));
    }
    failures.push_back(what + (result == kArchiveNoPayload ? "; not extracted" : ""));
  }
  // The names, which no checksum covers, against what "instcfg.ini" names.
  std::string config, namesProblem;
  const bool configStaged = archive.Member(0).name == "instcfg.ini" && !staged[0].empty();
  if (configStaged && !ReadWholeFile(staged[0], config))
    return stop(FileFailure(err, installer, "member 0 (instcfg.ini) could not be read back"));
  if (configStaged || archive.Member(0).name != "instcfg.ini")
    namesProblem = NamesProblem(config, archive);
  if (!namesProblem.empty() && !keepGoing) {
    return stop(FileFailure(err, installer, namesProblem +
                                                  "; nothing extracted (--keep-going extracts the "
                                                  "members that are whole)"));
  }
  // Last first: of two members named alike, the lower-numbered one is put in place last.
  for (int i = count - 1; i >= 0; --i) {
    if (staged[i].empty()) continue;
    const std::string place = folder + archive.Member(i).name;
    if (!MoveOver(staged[i], place)) {
      failures.push_back("member " + std::to_string(i) + " (" + archive.Member(i).name +
                         ") could not be written");
      continue;
    }
    staged[i].clear();
    for (std::string& name : existing) {
      if (name != archive.Member(i).name) continue;
      out << "replaced " << Printable(place) << "\n";
      name.clear();
    }
  }
  for (const std::string& failure : failures) FileFailure(err, installer, failure);
  if (!namesProblem.empty()) FileFailure(err, installer, namesProblem);
  return failures.empty() && namesProblem.empty() ? kExitOk : stop(kExitFailure);
}

}  // namespace zarvane
