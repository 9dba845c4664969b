#pragma once
// Project files hold the Windows code page's bytes; a project written as UTF-8 (as most editors
// on Linux save) would otherwise build with garbled names.
#include <ostream>
#include <string>
#include <vector>

namespace zarvane {

// True when `text` is well-formed UTF-8 (a leading byte-order mark allowed) with at least one
// character beyond ASCII: such a text is taken as UTF-8, any other as code page bytes already.
bool IsUtf8BeyondAscii(const std::string& text);

// `utf8` in Windows code page `codePage`, without a byte-order mark. False when a character has
// no place in the code page (or the code page is unknown); `out` then holds the text up to it.
bool Utf8ToCodePage(const std::string& utf8, int codePage, std::string& out);

// UTF-16 text with its byte-order mark (either order) as UTF-8 without one; false when a
// surrogate is unpaired or a byte is left over.
bool Utf16ToUtf8(const std::string& utf16, std::string& utf8);

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
