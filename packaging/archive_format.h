#pragma once
// The one definition of a built installer's byte layout, shared by writer, reader and tests.
//
//   offset 0            stub: the installer program, S bytes ("SFX_EXE" 228)
//   S = offset(0)       member 0: one complete zlib stream, csize(0) bytes
//   offset(i+1) = offset(i) + csize(i)
//   ...                 directory: N records, member 0 first, each
//                         offset u32 | usize u32 | csize u32 | name, n bytes | n u32
//   end - 18            count N, signed 32
//   end - 14            "1.10"
//   end - 10            "!QOBA_SFX!"
//
// All integers little-endian. The name's length follows the name so that the directory can be
// read backwards from the end of the file; nothing is ever scanned.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zarvane {

constexpr char kArchiveMarker[] = "!QOBA_SFX!";
constexpr char kArchiveVersion[] = "1.10";
constexpr std::size_t kArchiveMarkerSize = 10;
constexpr std::size_t kArchiveVersionSize = 4;
constexpr std::size_t kArchiveTrailerSize = 4 + kArchiveVersionSize + kArchiveMarkerSize;  // 18
constexpr std::size_t kArchiveRecordFixedSize = 16;  // offset, usize, csize, n
constexpr int kArchiveMaxMembers = 256;
constexpr std::size_t kArchiveNameLimit = 1000;  // names are shorter than this
// Reads and writes go in blocks this large: few system calls, and inflate copies little into
// its window.
constexpr std::size_t kArchiveBufferSize = 256 * 1024;
// The reader positions with signed 32-bit distances, so no installer may reach 2 GiB.
constexpr std::uint64_t kArchiveMaxFileSize = 0x7FFFFFFFu;
constexpr int kStubResourceId = 228;

inline std::uint32_t GetU32LE(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

inline void PutU32LE(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

// A member name is a bare file name: it can never name a place outside the extraction folder.
bool IsValidMemberName(const std::string& name);

// A member name under which Windows creates a plain file in any folder: no character Windows
// forbids in names, no trailing dot or blank (Windows drops them, so two names would meet), and
// no device name such as "con" or "nul .txt", which opens the device wherever it stands.
bool IsWindowsFileName(const std::string& name);

// Percentage of `done` out of `total` in unsigned 32-bit arithmetic; the large-total form keeps
// done * 100 from overflowing.
int ArchivePercentage(std::uint32_t done, std::uint32_t total);

}  // namespace zarvane
