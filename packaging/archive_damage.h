#pragma once
// Why a file that was meant to be an installer has no readable payload, for people: the reader
// itself only needs to know that it has none.
#include <cstdint>
#include <string>

namespace zarvane {

enum class ArchiveDamageKind {
  kNone,          // the directory reads
  kNotInstaller,  // no signature at the end, and no Windows program cut short either
  kOtherFormat,   // the signature, with a format version this reader does not know
  kCutShort,      // an installer program whose file ends before its payload does
  kDirectory,     // signature and version present, the directory behind them broken
  kEmpty,         // a directory without members
};

struct ArchiveDamage {
  ArchiveDamageKind kind = ArchiveDamageKind::kNone;
  std::int64_t size = 0;       // the file's size
  std::int64_t leastSize = 0;  // kCutShort: the size it must at least have had
  std::string version;         // kOtherFormat: the version it carries
};

// Looks at the installer at `path` again after PayloadArchive::ReadDirectory gave `readResult`.
ArchiveDamage DescribeArchiveDamage(const std::string& path, int readResult);

// "not an installer (no Zarvane signature at its end)", "cut short (N of at least M bytes)" ...
std::string ArchiveDamageText(const ArchiveDamage& damage);

// Where the Windows program at the head of `bytes` ends by its own headers (the end of its
// last section's data); 0 when `bytes` does not begin with one, -1 when its headers are cut.
std::int64_t WindowsProgramEnd(const std::string& bytes);

// The "ProductVersion" of the Windows program's version resource in `bytes`, empty when none.
std::string ProgramVersion(const std::string& bytes);

}  // namespace zarvane
