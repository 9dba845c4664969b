#include <filesystem>

#include "archive_file.h"
#include "build_checks.h"
#include "path_words.h"
#include "cli_command.h"
#include "payload_archive.h"
#include "terminal_text.h"

namespace zarvane {

static int RunExtract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kExtractCommand = {
    "extract", "extracts every member of an installer into a folder",
    "usage: zarvane-cli extract INSTALLER DIR\n"
    "\n"
    "Extracts every member into the existing folder DIR as the installer itself does: last\n"
    "member first, each file replaced, so of two members named alike the first one stays.\n"
    "Members that cannot be extracted are named on stderr; the exit status is 0 only when\n"
    "every member arrived intact.\n",
    RunExtract};

namespace {

struct Tracker {
  std::ostream* err;
  std::string pending;  // begun but not (yet) done
  bool open = false;
  void Flush() {
    if (open) *err << "zarvane-cli extract: member \"" << Printable(pending) << "\" failed\n";
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
  if (args.size() != 2) return UsageError(kExtractCommand, "expects INSTALLER and DIR", err);
  std::error_code ec;
  if (!std::filesystem::is_directory(std::filesystem::u8path(HostPath(args[1])), ec)) {
    err << "zarvane-cli extract: " << args[1] << ": not an existing folder\n";
    return kExitFailure;
  }
  PayloadArchive archive;
  // Extraction replaces files; never the installer it reads.
  if (archive.ReadDirectory(args[0]) == kArchiveOk) {
    std::string folder = args[1];
    if (!IsPathSeparator(folder.back())) folder += '/';
    for (int i = 0; i < archive.Count(); ++i) {
      if (SameFile(folder + archive.Member(i).name, args[0])) {
        err << "zarvane-cli extract: member \"" << Printable(archive.Member(i).name)
            << "\" would replace the installer itself; extract into another folder\n";
        return kExitFailure;
      }
    }
  }
  Tracker tracker;
  tracker.err = &err;
  int result = archive.ExtractAllFrom(args[0], args[1], Track, reinterpret_cast<std::intptr_t>(&tracker));
  tracker.Flush();
  if (result != kArchiveOk) {
    err << "zarvane-cli extract: " << args[0] << ": " << ArchiveResultText(result, false) << " ("
        << result << ")\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace zarvane
