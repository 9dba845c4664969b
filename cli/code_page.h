#pragma once
// Project files hold the Windows code page's bytes; a project written as UTF-8 (as most editors
// on Linux save) would otherwise build with garbled names.
#include <ostream>
#include <string>
#include <vector>

#include "unicode_text.h"

namespace zarvane {

// The --codepage option's help line, listing the code pages a wallpaper may use.
#define ZARVANE_CODEPAGE_HELP                                                             \
  "  --codepage N   the Windows code page of the wallpaper's names (default 1252), one of\n" \
  "                 874, 932, 936, 949, 950, 1250 to 1258\n"

// Takes --codepage's value as the code page of names from here on; empty when it is one a
// wallpaper may use, else why not, naming it.
std::string UseCodePage(const std::string& text);

struct CliCommand;
// Takes "--codepage N" out of `args` (the rest in `rest`) and uses it; kExitOk, or the usage
// error's exit status after saying why.
int TakeCodePageOption(const CliCommand& command, const std::vector<std::string>& args,
                       std::vector<std::string>& rest, std::ostream& err);

}  // namespace zarvane
