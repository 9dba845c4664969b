#pragma once
// What verify and extract both know about an installer: whether its payload can be read at all,
// which members are whole, whether "instcfg.ini" finds every file it names, and whose installer
// program stands in front.
#include <ostream>
#include <string>
#include <vector>

#include "payload_archive.h"

namespace zarvane {

// Reads the directory; empty when it could be, else why not in words ("no such file",
// "cut short (N of at least M bytes) ...").
std::string ReadInstallerDirectory(const std::string& path, PayloadArchive& archive);

struct PayloadVerdict {
  std::vector<bool> whole;  // per member: its stream inflates to exactly its recorded sizes
  std::string problem;      // the first problem in words; empty when the payload is whole
};

PayloadVerdict CheckPayload(const std::string& path, const PayloadArchive& archive);

// What the names tell of damage once the streams are whole: member 0 is not "instcfg.ini", or
// `config` (its bytes) names a file no member is called. Empty when neither.
std::string NamesProblem(const std::string& config, const PayloadArchive& archive);

struct ProgramVerdict {
  std::string text;  // "this version's (3.00 (Build 65))", "another version's (2.10)", ...
  bool changed = false;
};

// The installer program in front of the payload against the one this tool packs.
ProgramVerdict CheckProgram(const std::string& path, const PayloadArchive& archive);

// True when the installer carries an Authenticode certificate table behind its payload.
bool IsSignedInstaller(const std::string& path);

}  // namespace zarvane
