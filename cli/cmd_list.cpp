#include "cli_command.h"
#include "file_messages.h"
#include "payload_archive.h"
#include "terminal_text.h"

namespace zarvane {

static int RunList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kListCommand = {
    "list", "lists the members of an installer",
    "usage: zarvane-cli list INSTALLER\n"
    "\n"
    "Prints one line per member, in member order:\n"
    "  index<TAB>offset<TAB>usize<TAB>csize<TAB>name\n"
    "offset is where the member's zlib stream starts in the file, usize its size unpacked,\n"
    "csize its size packed. Control characters in a name are shown as \\xNN. A file without\n"
    "payload fails with the reader's result code.\n",
    RunList};

static int RunList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) return UsageError(kListCommand, "expects one INSTALLER", err);
  PayloadArchive archive;
  int result = archive.ReadDirectory(args[0]);
  if (result != kArchiveOk) return ArchiveFailure(err, args[0], result);
  for (int i = 0; i < archive.Count(); ++i) {
    const ArchiveMember& m = archive.Member(i);
    out << i << '\t' << m.offset << '\t' << m.usize << '\t' << m.csize << '\t' << Printable(m.name) << '\n';
  }
  return kExitOk;
}

}  // namespace zarvane
