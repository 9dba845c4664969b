#include <algorithm>
#include <cstring>
#include <vector>

#include "cli_command.h"
#include "terminal_text.h"
#include "text.h"
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
  out << "\nNames inside an installer are Windows code page text; commands that show or write\n"
         "them take --codepage N (default 1252), one of 874, 932, 936, 949, 950, 1250 to 1258.\n"
         "\nExit status: 0 success, 1 failure, 2 usage error.\n"
         "The project file: docs/project-file.md; the installer file: docs/installer-format.md.\n";
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// Edits (insert, delete, replace, swap two neighbours) from `a` to `b`.
std::size_t Distance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

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
  err << "zarvane-cli: unknown command \"" << Printable(name) << "\"";
  const CliCommand* nearest = nullptr;
  std::size_t best = 3;  // farther than two edits is no typing slip
  for (const CliCommand* const* c = kCliCommands; *c; ++c) {
    std::size_t d = Distance(ToLowerAscii(name), (*c)->name);
    if (d < best && d < std::string((*c)->name).size()) best = d, nearest = *c;
  }
  if (nearest) {
    err << "; did you mean \"" << nearest->name << "\"?\n  zarvane-cli " << nearest->name
        << " --help tells more\n";
  } else {
    err << "; the commands are";
    for (const CliCommand* const* c = kCliCommands; *c; ++c) err << ' ' << (*c)->name;
    err << "\n  zarvane-cli --help tells more\n";
  }
  return kExitUsage;
}

}  // namespace zarvane
