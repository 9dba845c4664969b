#include "archive_damage.h"

#include <zlib.h>

#include <cstring>
#include <memory>

#include "archive_file.h"
#include "archive_format.h"
#include "payload_archive.h"
#include "signed_program.h"

namespace zarvane {
namespace {

std::uint32_t U16At(const std::string& b, std::size_t at) {
  return std::uint32_t(static_cast<unsigned char>(b[at])) |
         std::uint32_t(static_cast<unsigned char>(b[at + 1])) << 8;
}

std::uint32_t U32At(const std::string& b, std::size_t at) {
  return GetU32LE(reinterpret_cast<const unsigned char*>(b.data() + at));
}

// The end of the zlib stream that starts at `offset`; -1 when the file ends inside it or
// no stream starts there.
std::int64_t StreamEnd(ArchiveFile& file, std::int64_t offset) {
  if (!file.Seek(offset)) return -1;
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return -1;
  std::unique_ptr<unsigned char[]> in(new unsigned char[kArchiveBufferSize]);
  std::unique_ptr<unsigned char[]> out(new unsigned char[kArchiveBufferSize]);
  int z = Z_OK;
  while (z == Z_OK) {
    if (stream.avail_in == 0) {
      std::size_t n = file.Read(in.get(), kArchiveBufferSize);
      if (n == 0) break;
      stream.next_in = in.get();
      stream.avail_in = static_cast<uInt>(n);
    }
    stream.next_out = out.get();
    stream.avail_out = kArchiveBufferSize;
    z = inflate(&stream, Z_NO_FLUSH);
    if (z == Z_BUF_ERROR && stream.avail_in == 0) z = Z_OK;
  }
  std::int64_t end = z == Z_STREAM_END ? offset + static_cast<std::int64_t>(stream.total_in) : -1;
  inflateEnd(&stream);
  return end;
}

bool LooksLikeZlibHeader(const unsigned char* p) {
  return (p[0] & 0x0F) == 8 && (p[0] >> 4) <= 7 && (p[0] * 256u + p[1]) % 31 == 0;
}

}  // namespace

std::int64_t WindowsProgramEnd(const std::string& bytes) {
  // Too short for the old header that every Windows program starts with: nothing to go by.
  if (bytes.size() < 0x40 || bytes.compare(0, 2, "MZ") != 0) return 0;
  std::uint32_t pe = U32At(bytes, 0x3C);
  if (pe > (1u << 20)) return 0;
  if (bytes.size() < pe + 24) return -1;
  if (bytes.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return 0;
  std::uint32_t sections = U16At(bytes, pe + 6), optional = U16At(bytes, pe + 20);
  std::size_t table = pe + 24 + optional;
  if (bytes.size() < table + 40 * sections) return -1;
  std::int64_t end = static_cast<std::int64_t>(table + 40 * sections);
  for (std::uint32_t s = 0; s < sections; ++s) {
    std::size_t at = table + 40 * s;
    std::int64_t sectionEnd = std::int64_t(U32At(bytes, at + 20)) + U32At(bytes, at + 16);
    if (sectionEnd > end) end = sectionEnd;
  }
  return end;
}

std::string ProgramVersion(const std::string& bytes) {
  const char16_t key[] = u"ProductVersion";
  std::string wide;
  for (char16_t c : key) wide.append({static_cast<char>(c), '\0'});  // with its terminator
  std::size_t at = bytes.rfind(wide);
  if (at == std::string::npos) return "";
  at += wide.size();
  while (at + 1 < bytes.size() && bytes[at] == '\0' && bytes[at + 1] == '\0') at += 2;
  std::string version;
  for (; at + 1 < bytes.size() && version.size() < 64; at += 2) {
    unsigned c = U16At(bytes, at);
    if (c == 0) return version;
    version += c < 0x80 ? static_cast<char>(c) : '?';
  }
  return "";
}

ArchiveDamage DescribeArchiveDamage(const std::string& path, int readResult) {
  ArchiveDamage damage;
  if (readResult == kArchiveOk) return damage;
  if (readResult == kArchiveEmpty) {
    damage.kind = ArchiveDamageKind::kEmpty;
    return damage;
  }
  ArchiveFile file;
  if (!file.OpenRead(path) || (damage.size = PayloadEnd(file, file.Size())) < 0) return damage;
  unsigned char trailer[kArchiveTrailerSize] = {};
  bool hasTrailer = damage.size >= std::int64_t(kArchiveTrailerSize) &&
                    file.Seek(damage.size - kArchiveTrailerSize) &&
                    file.Read(trailer, sizeof trailer) == sizeof trailer;
  if (hasTrailer && std::memcmp(trailer + 8, kArchiveMarker, kArchiveMarkerSize) == 0) {
    if (std::memcmp(trailer + 4, kArchiveVersion, kArchiveVersionSize) == 0) {
      damage.kind = ArchiveDamageKind::kDirectory;
    } else {
      damage.kind = ArchiveDamageKind::kOtherFormat;
      for (int i = 4; i < 8; ++i)
        damage.version += trailer[i] >= 0x20 && trailer[i] < 0x7F ? char(trailer[i]) : '?';
    }
    return damage;
  }
  // Without a signature: an installer program that its payload should follow, or anything else.
  damage.kind = ArchiveDamageKind::kNotInstaller;
  std::string head(static_cast<std::size_t>(damage.size < (1 << 16) ? damage.size : (1 << 16)), '\0');
  if (!file.Seek(0) || file.Read(&head[0], head.size()) != head.size()) return damage;
  std::int64_t programEnd = WindowsProgramEnd(head);
  if (programEnd == 0) return damage;
  if (programEnd < 0 || programEnd > damage.size) {
    damage.kind = ArchiveDamageKind::kCutShort;
    damage.leastSize = (programEnd < 0 ? damage.size + 1 : programEnd) + kArchiveTrailerSize;
    return damage;
  }
  unsigned char start[2];
  if (programEnd + 2 > damage.size || !file.Seek(programEnd) || file.Read(start, 2) != 2 ||
      !LooksLikeZlibHeader(start))
    return damage;
  // Members follow the program back to back; the directory needs at least one record of
  // 17 bytes (a one-letter name) per member, then the trailer.
  damage.kind = ArchiveDamageKind::kCutShort;
  std::int64_t at = programEnd, members = 0;
  while (at < damage.size) {
    std::int64_t end = StreamEnd(file, at);
    ++members;
    if (end < 0) {
      at = damage.size;
      break;
    }
    at = end;
    unsigned char next[2];
    if (at + 2 > damage.size || !file.Seek(at) || file.Read(next, 2) != 2 || !LooksLikeZlibHeader(next))
      break;
  }
  damage.leastSize = at + members * (kArchiveRecordFixedSize + 1) + kArchiveTrailerSize;
  if (damage.leastSize <= damage.size) damage.leastSize = damage.size + 1;
  return damage;
}

std::string ArchiveDamageText(const ArchiveDamage& damage) {
  switch (damage.kind) {
    case ArchiveDamageKind::kNone: return "whole";
    case ArchiveDamageKind::kNotInstaller:
      return "not an installer (no Zarvane signature at its end)";
    case ArchiveDamageKind::kOtherFormat:
      return "not an installer this version reads (its format is '" + damage.version +
             "', this version reads " + kArchiveVersion + ")";
    case ArchiveDamageKind::kCutShort:
      return "cut short (" + std::to_string(damage.size) + " of at least " +
             std::to_string(damage.leastSize) + " bytes): copy or download it again";
    case ArchiveDamageKind::kDirectory:
      return "directory damaged: the list of its members at its end does not fit the file";
    case ArchiveDamageKind::kEmpty: return "the installer holds no members";
  }
  return "";
}

}  // namespace zarvane
