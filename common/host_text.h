#pragma once
// Names in the system are narrow text in a Windows code page. Windows takes them as they are;
// elsewhere the file system and the terminal speak UTF-8, so there they are converted at the
// edge. Paths given on the command line are UTF-8 already and may be joined with code page
// names, so only bytes that are not well-formed UTF-8 are taken as code page text.
#include <cstddef>
#include <string>

namespace zarvane {

#ifdef _WIN32
constexpr bool kHostSpeaksUtf8 = false;
#else
constexpr bool kHostSpeaksUtf8 = true;
#endif

// The Windows code page of names on the way out (1252 until set). Only the code pages a
// wallpaper may use are accepted; false for any other.
bool SetHostCodePage(int codePage);
int HostCodePage();

// The Windows code pages a wallpaper's names may be written in, ending with 0.
extern const int kWallpaperCodePages[];
bool IsWallpaperCodePage(int codePage);

// The length of the well-formed UTF-8 sequence of more than one byte at `at`, else 0 (an
// overlong form, a surrogate or a cut sequence is not well-formed).
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at);

// A name as Windows matches names without regard to letter case: ASCII letters folded, never
// the trail byte of a double-byte character ("\x83\x41" and "\x83\x61" are two Shift-JIS
// characters, not one in two cases). Names are in the host code page; on Windows in the ANSI
// code page, whose lead bytes the system knows.
std::string NameKey(const std::string& name);
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

// `text` as the host spells it. Outside Windows: UTF-8, a byte the code page does not hold
// written as "\xNN". On Windows: `text` itself.
std::string HostText(const std::string& text);

// A path as the host spells it: HostText, and outside Windows "\" taken as "/".
std::string HostPath(const std::string& path);

}  // namespace zarvane
