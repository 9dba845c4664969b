#pragma once
// The tool's messages about files: "zarvane-cli: <file>: <what>" on stderr.
#include <filesystem>
#include <ostream>
#include <string>

namespace zarvane {

// `path` as the file system takes it: text of the ANSI code page on Windows (as the command line
// gives it), the host's encoding elsewhere.
std::filesystem::path FileSystemPath(const std::string& path);

// Why `path` cannot be read as a file: "no such file", "is a folder", "permission denied";
// empty when it can.
std::string WhyUnreadable(const std::string& path);

// The file's bytes in `text`; false when it cannot be read whole.
bool ReadWholeFile(const std::string& path, std::string& text);

// Prints the message with the file's name escaped; gives kExitFailure.
int FileFailure(std::ostream& err, const std::string& file, const std::string& what);

// A reader's result other than kArchiveOk as such a message: why the file could not be opened,
// or what kind of damage keeps its payload from being read.
int ArchiveFailure(std::ostream& err, const std::string& installer, int result);

}  // namespace zarvane
