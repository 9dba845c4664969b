#include "cli_command.h"

namespace zarvane {

#define ZARVANE_CLI_COMMANDS(X) \
  X(kListCommand)               \
  X(kExtractCommand)            \
  X(kVerifyCommand)             \
  X(kTestCommand)               \
  X(kSwfColourCommand)          \
  X(kCheckCommand)              \
  X(kBuildCommand)              \
  X(kPageCommand)               \
  X(kPreviewCommand)            \
  X(kExportCommand)

#define ZARVANE_DECLARE(command) extern const CliCommand command;
#define ZARVANE_ENTRY(command) &command,
ZARVANE_CLI_COMMANDS(ZARVANE_DECLARE)
const CliCommand* const kCliCommands[] = {ZARVANE_CLI_COMMANDS(ZARVANE_ENTRY) nullptr};

}  // namespace zarvane
