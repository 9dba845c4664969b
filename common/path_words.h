#pragma once
// Path words shared by every layer. Windows paths use "\"; "/" counts as a separator too, so the
// same words work for paths given on Linux.
#include <string>
#include <vector>

namespace zarvane {

// The last path component (file name and extension); empty when the path ends in a separator.
std::string BareName(const std::string& path);

// The folder part including its final separator; empty when the path has no separator.
std::string FolderOf(const std::string& path);

// The path with exactly one trailing backslash (an empty path stays empty).
std::string WithTrailingBackslash(const std::string& path);

bool IsPathSeparator(char c);

// The parts of `path` after its leading separators (those in `root`), "." dropped and each ".."
// taking the part before it away, as the system resolves them.
std::vector<std::string> ResolvedParts(const std::string& path, std::string& root);

// CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9, in any letter case: Windows opens these as
// devices in every folder, whatever extension follows and with blanks before the extension or
// at the end ("nul .txt", "con ").
bool IsWindowsDeviceName(const std::string& name);

}  // namespace zarvane
