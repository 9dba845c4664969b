#pragma once
// The Windows 9x family deletes files at start-up through WinInit.ini's [rename] section, one
// line "NUL=path" per file. Profile calls cannot write several keys of one name, so each path is
// first written under its own key NUL1000, NUL1001 ... and the file's text is then rewritten.
#include <string>
#include <vector>

namespace zarvane {

using LowerCaseFunction = std::string (*)(std::string);

// The profile key of the i-th path: "NUL1000" + i.
std::string RestartRenameKey(int index);

// The whole text lower-cased by `lower` (the system's multibyte-aware rule on Windows), then
// each of the first `count` keys turned back into "NUL" where it stands as a key: at the start
// of a line (after blanks) and followed by "=". A path that happens to hold such a word keeps it.
std::string RestartRenameText(const std::string& text, int count, LowerCaseFunction lower);

// The text without the [rename] section's "NUL=path" lines whose path is one of `paths` (both
// compared as `lower` makes them, a folder with or without its trailing backslash); every other
// line as it was.
std::string WithoutRestartDeletions(const std::string& text, const std::vector<std::string>& paths,
                                    LowerCaseFunction lower);

}  // namespace zarvane
