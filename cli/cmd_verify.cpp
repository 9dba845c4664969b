#include "cli_command.h"
#include "code_signing.h"
#include "code_page.h"
#include "file_messages.h"
#include "installer_check.h"
#include "terminal_text.h"

namespace zarvane {

static int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

#define ZARVANE_VERIFY_TEXT(name)                                                               \
  "usage: zarvane-cli " name " INSTALLER [--codepage N]\n"                                       \
  "\n"                                                                                           \
  "Checks an installer without writing anything beside it: its layout, every member inflated\n" \
  "and compared with its recorded sizes, that \"instcfg.ini\" and every file it names are\n"     \
  "among the members (no checksum covers the names), and the installer program in front\n"      \
  "against the one this version packs. Prints one line per member, ok or damaged, one for\n"    \
  "the program (this version's, another version's, or changed), one for its Authenticode\n"     \
  "signature (none, or by whom and whether it covers the file as it is: osslsigncode checks\n" \
  "it) and a summary. Damage is named: not an installer, cut short, directory damaged,\n"      \
  "member K (name) damaged, changed after it was signed.\n"                                    \
  "Exit status 0 when the installer is whole, 1 when it is damaged.\n"                          \
  "\n" ZARVANE_CODEPAGE_HELP

extern const CliCommand kVerifyCommand = {"verify", "checks that an installer is whole",
                                          ZARVANE_VERIFY_TEXT("verify"), RunVerify};
extern const CliCommand kTestCommand = {"test", "the same as verify", ZARVANE_VERIFY_TEXT("test"),
                                        RunVerify};

static int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> files;
  if (int usage = TakeCodePageOption(kVerifyCommand, args, files, err)) return usage;
  if (files.size() != 1) return UsageError(kVerifyCommand, "expects one INSTALLER", err);
  const std::string& path = files[0];
  PayloadArchive archive;
  std::string unreadable = ReadInstallerDirectory(path, archive);
  if (!unreadable.empty()) return FileFailure(err, path, unreadable);
  PayloadVerdict payload = CheckPayload(path, archive);
  for (int i = 0; i < archive.Count(); ++i)
    out << (payload.whole[i] ? "ok" : "damaged") << '\t' << Printable(archive.Member(i).name) << '\n';
  ProgramVerdict program = CheckProgram(path, archive);
  out << "program\t" << program.text << '\n';
  SignatureReport signature = CheckSignature(path, IsSignedInstaller(path));
  out << "signature\t" << signature.text << '\n';
  bool damaged = !payload.problem.empty() || program.changed || signature.damaged;
  out << archive.Count() << " members: " << (damaged ? "damaged" : "whole") << '\n';
  if (!payload.problem.empty()) return FileFailure(err, path, payload.problem);
  if (program.changed) return FileFailure(err, path, "installer program " + program.text);
  if (signature.damaged) return FileFailure(err, path, "signature: " + signature.text);
  return kExitOk;
}

}  // namespace zarvane
