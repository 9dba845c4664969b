#include "export_zip.h"

#include <zlib.h>

namespace zarvane {

namespace {

void Put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// One zlib pass over `data`; windowBits picks the framing (-15 raw, 31 gzip).
bool Deflate(const std::string& data, int windowBits, std::string& packed) {
  z_stream stream = {};
  if (deflateInit2(&stream, 9, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
  packed.resize(deflateBound(&stream, static_cast<uLong>(data.size())) + 32);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(&packed[0]);
  stream.avail_out = static_cast<uInt>(packed.size());
  bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return done;
}

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

// A fixed time (2000-01-01 00:00) keeps two exports of one project byte for byte alike.
constexpr unsigned kDosTime = 0, kDosDate = ((2000 - 1980) << 9) | (1 << 5) | 1;

}  // namespace

bool MakeZipArchive(const std::vector<ZipMember>& members, std::string& zip, std::string& error) {
  constexpr std::uint64_t kLimit = 0xFFFFFFFFu;
  if (members.size() > 0xFFFF) {
    error = "more than 65535 files";
    return false;
  }
  std::string directory;
  zip.clear();
  for (const ZipMember& member : members) {
    if (member.data.size() >= kLimit || member.name.empty() || member.name.size() > 0xFFFF) {
      error = "'" + member.name + "' cannot be stored in a zip without zip64";
      return false;
    }
    std::string packed;
    if (!Deflate(member.data, -15, packed)) {
      error = "cannot compress '" + member.name + "'";
      return false;
    }
    unsigned method = 8;
    if (packed.size() >= member.data.size()) {
      packed = member.data;
      method = 0;
    }
    std::uint32_t crc =
        static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(member.data.data()),
                                         static_cast<uInt>(member.data.size())));
    std::uint64_t offset = zip.size();
    if (offset + 30 + member.name.size() + packed.size() >= kLimit) {
      error = "the package would exceed 4 GiB";
      return false;
    }
    unsigned flags = IsAscii(member.name) ? 0 : 1u << 11;
    std::string common;
    Put16(common, 20);  // version needed: deflate
    Put16(common, flags);
    Put16(common, method);
    Put16(common, kDosTime);
    Put16(common, kDosDate);
    Put32(common, crc);
    Put32(common, static_cast<std::uint32_t>(packed.size()));
    Put32(common, static_cast<std::uint32_t>(member.data.size()));
    Put16(common, static_cast<unsigned>(member.name.size()));
    Put16(common, 0);  // extra field length

    Put32(zip, 0x04034b50);
    zip += common;
    zip += member.name;
    zip += packed;

    Put32(directory, 0x02014b50);
    Put16(directory, 20);  // made by: MS-DOS attributes, version 2.0
    directory += common;
    Put16(directory, 0);  // comment length
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, static_cast<std::uint32_t>(offset));
    directory += member.name;
  }
  std::uint64_t directoryAt = zip.size();
  if (directoryAt + directory.size() + 22 >= kLimit) {
    error = "the package would exceed 4 GiB";
    return false;
  }
  zip += directory;
  Put32(zip, 0x06054b50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, static_cast<unsigned>(members.size()));
  Put16(zip, static_cast<unsigned>(members.size()));
  Put32(zip, static_cast<std::uint32_t>(directory.size()));
  Put32(zip, static_cast<std::uint32_t>(directoryAt));
  Put16(zip, 0);
  return true;
}

std::string GzipBytes(const std::string& data) {
  std::string packed;
  return Deflate(data, 31, packed) ? packed : std::string();
}

std::string Base64(const std::string& bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    std::uint32_t v = (std::uint32_t(std::uint8_t(bytes[i])) << 16) |
                      (std::uint32_t(std::uint8_t(bytes[i + 1])) << 8) | std::uint8_t(bytes[i + 2]);
    text += kAlphabet[v >> 18];
    text += kAlphabet[(v >> 12) & 63];
    text += kAlphabet[(v >> 6) & 63];
    text += kAlphabet[v & 63];
  }
  if (i < bytes.size()) {
    std::uint32_t v = std::uint32_t(std::uint8_t(bytes[i])) << 16;
    if (i + 1 < bytes.size()) v |= std::uint32_t(std::uint8_t(bytes[i + 1])) << 8;
    text += kAlphabet[v >> 18];
    text += kAlphabet[(v >> 12) & 63];
    text += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

}  // namespace zarvane
