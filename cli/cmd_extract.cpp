#include <filesystem>
#include <vector>

#include "archive_file.h"
#include "build_checks.h"
#include "path_words.h"
#include "cli_command.h"
#include "code_page.h"
#include "file_messages.h"
#include "installer_check.h"
#include "payload_archive.h"
#include "terminal_text.h"

namespace zarvane {

static int RunExtract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kExtractCommand = {
    "extract", "extracts every member of an installer into a folder",
    "usage: zarvane-cli extract INSTALLER DIR [--keep-going] [--codepage N]\n"
    "\n"
    "Extracts every member into the folder DIR, made with its parents when missing, as the\n"
    "installer itself does: last member first, each file replaced, so of two members named\n"
    "alike the first one stays. Names are converted from the wallpaper's code page.\n"
    "An installer that verify calls damaged is not extracted at all, as the installer\n"
    "refuses it; files already in DIR stay as they were.\n"
    "\n"
    "  --keep-going   extract every member that is whole and name the others\n"
    ZARVANE_CODEPAGE_HELP
    "\n"
    "Members that cannot be extracted are named on stderr; the exit status is 0 only when\n"
    "the installer is whole and every member arrived intact.\n",
    RunExtract};

namespace {

struct Tracker {
  std::ostream* err;
  const std::string* installer;
  std::string pending;  // begun but not (yet) done
  bool open = false;
  void Flush() {
    if (open) FileFailure(*err, *installer, "member \"" + Printable(pending) + "\" failed");
    open = false;
  }
};

void Track(int event, void* data, std::intptr_t user) {
  Tracker* t = reinterpret_cast<Tracker*>(user);
  if (event == kArchiveEventBegin) {
    t->Flush();
    t->pending = static_cast<ArchiveMember*>(data)->name;
    t->open = true;
  } else if (event == kArchiveEventDone) {
    t->open = false;
  }
}

}  // namespace

static int RunExtract(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  std::vector<std::string> rest, files;
  if (int usage = TakeCodePageOption(kExtractCommand, args, rest, err)) return usage;
  bool keepGoing = false;
  for (const std::string& arg : rest) {
    if (arg == "--keep-going")
      keepGoing = true;
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
  // Extraction replaces files; never the installer it reads.
  std::string folder = files[1];
  if (!IsPathSeparator(folder.back())) folder += '/';
  for (int i = 0; i < archive.Count(); ++i) {
    if (SameFile(folder + archive.Member(i).name, installer)) {
      return giveUp(FileFailure(err, installer,
                                "member \"" + archive.Member(i).name +
                                    "\" would replace the installer itself; extract into another "
                                    "folder"));
    }
  }
  PayloadVerdict verdict = CheckPayload(installer, archive);
  if (!verdict.problem.empty() && !keepGoing) {
    return giveUp(FileFailure(err, installer, verdict.problem +
                                                  "; nothing extracted (--keep-going extracts the "
                                                  "members that are whole)"));
  }
  if (!keepGoing) {
    Tracker tracker;
    tracker.err = &err;
    tracker.installer = &installer;
    int result = archive.ExtractAllFrom(installer, folder, Track, reinterpret_cast<std::intptr_t>(&tracker));
    tracker.Flush();
    if (result != kArchiveOk) return giveUp(ArchiveFailure(err, installer, result));
    return kExitOk;
  }
  ArchiveFile file;
  if (!file.OpenRead(installer)) return FileFailure(err, installer, WhyUnreadable(installer));
  bool failed = false;
  for (int i = archive.Count() - 1; i >= 0; --i) {
    const std::string member = "member " + std::to_string(i) + " (" + archive.Member(i).name + ")";
    if (!verdict.whole[i]) {
      FileFailure(err, installer, member + " damaged; not extracted");
      failed = true;
    } else if (archive.ExtractMember(file, i, folder) != kArchiveOk) {
      FileFailure(err, installer, member + " could not be written");
      failed = true;
    }
  }
  if (!verdict.problem.empty() && verdict.problem.rfind("member ", 0) != 0)
    FileFailure(err, installer, verdict.problem);
  return failed || !verdict.problem.empty() ? giveUp(kExitFailure) : kExitOk;
}

}  // namespace zarvane
