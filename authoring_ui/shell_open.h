#pragma once
// The shell's verbs ("explore" a folder, "open" a file or address). A seam so that a test
// program can see what the tool asked for instead of a window opening.
#include <string>

namespace zarvane {

// ShellExecuteA(nullptr, verb, target, nullptr, nullptr, show); its result as an int (above 32
// on success).
int ShellOpen(const std::string& verb, const std::string& target, int show);

using ShellOpener = int (*)(const std::string& verb, const std::string& target, int show);
// nullptr: back to the shell.
void UseShellOpener(ShellOpener opener);

}  // namespace zarvane
