#pragma once
// A zip archive made whole in memory, for the live-wallpaper programs' importers:
//
//   per member   local header  "PK\3\4" ver flags method time date crc csize size nlen 0 | name
//                data          raw deflate, or the bytes themselves when deflate gains nothing
//   then         central entry "PK\1\2" per member (the local header's fields + its offset)
//                end record    "PK\5\6" 0 0 count count dirsize diroffset 0
//
// Little-endian throughout, sizes in the headers (no data descriptors), no zip64: a member or
// the whole beyond 4 GiB, or more than 65535 members, is refused.
#include <cstdint>
#include <string>
#include <vector>

namespace zarvane {

struct ZipMember {
  std::string name;  // "/" between folders; bit 11 (UTF-8) is set when it is not ASCII
  std::string data;
};

// The archive's bytes in `zip`; false with the reason in `error`.
bool MakeZipArchive(const std::vector<ZipMember>& members, std::string& zip, std::string& error);

// `data` as a gzip stream (what a browser's DecompressionStream("gzip") reads).
std::string GzipBytes(const std::string& data);

std::string Base64(const std::string& bytes);

}  // namespace zarvane
