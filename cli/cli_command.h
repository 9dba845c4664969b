#pragma once
// One command of zarvane-cli. A command is one file (cmd_<name>.cpp, defining a CliCommand)
// plus one line in the table of command_table.cpp.
#include <ostream>
#include <string>
#include <vector>

namespace zarvane {

enum CliExit : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

struct CliCommand {
  const char* name;
  const char* summary;  // one line in the tool's own help
  const char* usage;    // the command's --help text, starting with its synopsis line
  // args: what follows the command name. Usage errors return kExitUsage.
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// Every command, in the order the tool's help lists them; ends with a null name.
extern const CliCommand* const kCliCommands[];

// The whole tool, for main and for tests.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Prints "zarvane-cli <command>: usage error: <why>" and the command's synopsis; gives kExitUsage.
int UsageError(const CliCommand& command, const std::string& why, std::ostream& err);

}  // namespace zarvane
