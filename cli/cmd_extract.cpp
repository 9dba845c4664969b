#include <filesystem>
#include <vector>

#include "archive_file.h"
#include "archive_format.h"
#include "build_checks.h"
#include "cli_command.h"
#include "file_messages.h"
#include "path_words.h"
#include "payload_archive.h"
#include "terminal_text.h"

namespace zarvane {

static int RunExtract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kExtractCommand = {
    "extract", "extracts every member of an installer into a folder",
    "usage: zarvane-cli extract INSTALLER DIR\n"
    "\n"
    "Extracts every member into the folder DIR, made with its parents when missing, as the\n"
    "installer itself does: last member first, each file replaced, so of two members named\n"
    "alike the first one stays.\n"
    "Members that cannot be extracted are named on stderr; the exit status is 0 only when\n"
    "every member arrived intact.\n",
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
  if (args.size() != 2) return UsageError(kExtractCommand, "expects INSTALLER and DIR", err);
  PayloadArchive archive;
  int read = archive.ReadDirectory(args[0]);
  if (read != kArchiveOk) return ArchiveFailure(err, args[0], read);
  // A damaged name would fail only after the other members had replaced their files.
  for (int i = 0; i < archive.Count(); ++i) {
    if (!IsWindowsFileName(archive.Member(i).name)) {
      FileFailure(err, args[0], "member \"" + Printable(archive.Member(i).name) + "\" failed");
      return ArchiveFailure(err, args[0], kArchiveWriteFailed);
    }
  }
  std::error_code ec;
  std::filesystem::path target = std::filesystem::u8path(HostPath(args[1]));
  // The levels this command makes, deepest first: taken away again when nothing arrives.
  std::vector<std::filesystem::path> made;
  for (std::filesystem::path p = target; !p.empty() && !std::filesystem::exists(p, ec);
       p = p.parent_path()) {
    made.push_back(p);
    if (p == p.parent_path()) break;
  }
  std::filesystem::create_directories(target, ec);
  std::error_code isFolder;
  if (!std::filesystem::is_directory(target, isFolder)) {
    std::string why = ec ? ec.message() : "not a folder";
    return FileFailure(err, args[1], "cannot make the folder: " + why);
  }
  // Extraction replaces files; never the installer it reads.
  std::string folder = args[1];
  if (!IsPathSeparator(folder.back())) folder += '/';
  for (int i = 0; i < archive.Count(); ++i) {
    if (SameFile(folder + archive.Member(i).name, args[0])) {
      return FileFailure(err, args[0],
                         "member \"" + Printable(archive.Member(i).name) +
                             "\" would replace the installer itself; extract into another folder");
    }
  }
  Tracker tracker;
  tracker.err = &err;
  tracker.installer = &args[0];
  int result = archive.ExtractAllFrom(args[0], args[1], Track, reinterpret_cast<std::intptr_t>(&tracker));
  tracker.Flush();
  if (result != kArchiveOk) {
    for (const std::filesystem::path& level : made) std::filesystem::remove(level, ec);  // if empty
    return ArchiveFailure(err, args[0], result);
  }
  return kExitOk;
}

}  // namespace zarvane
