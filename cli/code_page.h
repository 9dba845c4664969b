#pragma once
// Project files hold the Windows code page's bytes; a project written as UTF-8 (as most editors
// on Linux save) would otherwise build with garbled names.
#include <string>

namespace zarvane {

// True when `text` is well-formed UTF-8 (a leading byte-order mark allowed) with at least one
// character beyond ASCII: such a text is taken as UTF-8, any other as code page bytes already.
bool IsUtf8BeyondAscii(const std::string& text);

// `utf8` in Windows code page `codePage`, without a byte-order mark. False when a character has
// no place in the code page (or the code page is unknown); `out` then holds the text up to it.
bool Utf8ToCodePage(const std::string& utf8, int codePage, std::string& out);

}  // namespace zarvane
