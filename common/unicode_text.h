#pragma once
// Between the Windows code page text the system works in and the Unicode forms other programs
// save text in: UTF-8 (most editors on Linux) and UTF-16 with its byte-order mark (Notepad's
// "Unicode").
#include <string>

namespace zarvane {

// True when `text` is well-formed UTF-8 (a leading byte-order mark allowed) with at least one
// character beyond ASCII: such a text is taken as UTF-8, any other as code page bytes already.
bool IsUtf8BeyondAscii(const std::string& text);

// `utf8` in Windows code page `codePage`, without a byte-order mark. False when a character has
// no place in the code page (or the code page is unknown); `out` then holds the text up to it.
bool Utf8ToCodePage(const std::string& utf8, int codePage, std::string& out);

// Code page text as UTF-8; false when a byte stands for no character of the code page.
bool CodePageToUtf8(const std::string& text, int codePage, std::string& utf8);

// UTF-16 text with its byte-order mark (either order) as UTF-8 without one; false when a
// surrogate is unpaired or a byte is left over.
bool Utf16ToUtf8(const std::string& utf16, std::string& utf8);

// Well-formed UTF-8 as UTF-16 with its byte-order mark, little-endian unless `bigEndian`.
std::string Utf8ToUtf16(const std::string& utf8, bool bigEndian);

}  // namespace zarvane
