#pragma once
// The build's checks of its own files, before anything is written: the installer must not land
// on one of the files it is made of, and every file must travel under a name of its own.
#include <string>
#include <vector>

namespace zarvane {

// The path as Windows compares paths: "/" taken as "\", "." and ".." parts resolved, blanks and
// dots that end a part dropped, letter case ignored.
std::string PathKey(const std::string& path);

// Two paths of one file: spelt alike as Windows compares them, or one existing file reached
// through both (links included).
bool SameFile(const std::string& a, const std::string& b);

// A file to pack and the name it travels under.
struct PackedFile {
  std::string path;
  std::string name;  // the bare name
};

// The first two files that would travel under one name (letter case ignored, as Windows sees
// names), as indexes into `files`; a file listed twice is no clash. False when there is none.
bool FindNameClash(const std::vector<PackedFile>& files, std::size_t& first, std::size_t& second);

// Names that the installer gives files of its own in its folder.
bool IsInstallersOwnName(const std::string& name);

// The longest value the installer reads from "instcfg.ini".
constexpr std::size_t kInstallerValueLimit = 1023;

}  // namespace zarvane
