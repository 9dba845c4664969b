#include <cstring>

#include "cli_command.h"
#include "zarvane_version.h"

namespace zarvane {

namespace {

const char kToolUsage[] =
    "usage: zarvane-cli COMMAND [ARGUMENTS]\n"
    "       zarvane-cli COMMAND --help\n"
    "       zarvane-cli --version\n"
    "\n"
    "Builds and inspects Zarvane wallpaper installers. Version " ZARVANE_VERSION_TEXT ".\n"
    "\n"
    "commands:\n";

void PrintToolHelp(std::ostream& out) {
  out << kToolUsage;
  for (const CliCommand* const* c = kCliCommands; *c; ++c) {
    std::string name = (*c)->name;
    out << "  " << name << std::string(name.size() < 12 ? 12 - name.size() : 1, ' ')
        << (*c)->summary << "\n";
  }
  out << "\nExit status: 0 success, 1 failure, 2 usage error.\n"
         "The project file: docs/project-file.md; the installer file: docs/installer-format.md.\n";
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

}  // namespace

int UsageError(const CliCommand& command, const std::string& why, std::ostream& err) {
  const char* end = std::strchr(command.usage, '\n');
  std::string synopsis = end ? std::string(command.usage, end) : std::string(command.usage);
  err << "zarvane-cli " << command.name << ": " << why << "\n" << synopsis
      << "\n(zarvane-cli " << command.name << " --help tells more)\n";
  return kExitUsage;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    PrintToolHelp(err);
    return kExitUsage;
  }
  if (args[0] == "--version" || args[0] == "-V") {
    out << "zarvane-cli " ZARVANE_VERSION_TEXT "\n";
    return kExitOk;
  }
  if (IsHelp(args[0]) || args[0] == "help") {
    if (args.size() == 1 || IsHelp(args[0])) {
      PrintToolHelp(out);
      return kExitOk;
    }
  }
  const std::string& name = args[0] == "help" ? args[1] : args[0];
  for (const CliCommand* const* c = kCliCommands; *c; ++c) {
    if (name != (*c)->name) continue;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    bool help = args[0] == "help";
    for (const std::string& a : rest) help = help || IsHelp(a);
    if (help) {
      out << (*c)->usage;
      return kExitOk;
    }
    return (*c)->run(rest, out, err);
  }
  err << "zarvane-cli: unknown command \"" << name << "\"\n";
  PrintToolHelp(err);
  return kExitUsage;
}

}  // namespace zarvane
