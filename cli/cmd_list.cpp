#include "cli_command.h"
#include "code_page.h"
#include "file_messages.h"
#include "installer_check.h"
#include "terminal_text.h"

namespace zarvane {

static int RunList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const CliCommand kListCommand = {
    "list", "lists the members of an installer",
    "usage: zarvane-cli list INSTALLER [--codepage N]\n"
    "\n"
    "Prints one line per member, in member order:\n"
    "  index<TAB>offset<TAB>usize<TAB>csize<TAB>name\n"
    "offset is where the member's zlib stream starts in the file, usize its size unpacked,\n"
    "csize its size packed. Names are shown converted from the wallpaper's code page,\n"
    "control characters and bytes the code page does not hold as \\xNN. A file whose\n"
    "payload cannot be read fails, saying why.\n"
    "\n" ZARVANE_CODEPAGE_HELP,
    RunList};

static int RunList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> files;
  if (int usage = TakeCodePageOption(kListCommand, args, files, err)) return usage;
  if (files.size() != 1) return UsageError(kListCommand, "expects one INSTALLER", err);
  PayloadArchive archive;
  std::string unreadable = ReadInstallerDirectory(files[0], archive);
  if (!unreadable.empty()) return FileFailure(err, files[0], unreadable);
  for (int i = 0; i < archive.Count(); ++i) {
    const ArchiveMember& m = archive.Member(i);
    out << i << '\t' << m.offset << '\t' << m.usize << '\t' << m.csize << '\t' << Printable(m.name) << '\n';
  }
  return kExitOk;
}

}  // namespace zarvane
