#include "packed_resource.h"

#include <zlib.h>

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace zarvane {

const std::vector<unsigned char>* ExpandedResource(int id, const char* type) {
  static std::mutex lock;
  static std::map<std::pair<std::string, int>, std::vector<unsigned char>> expanded;
  std::lock_guard<std::mutex> hold(lock);
  const std::pair<std::string, int> key(type, id);
  auto known = expanded.find(key);
  if (known != expanded.end()) return &known->second;

  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(id), type);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(self, found);
  const unsigned char* bytes = loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
  const DWORD size = SizeofResource(self, found);
  if (!bytes || size < 4) return nullptr;
  const uLongf wanted = uLongf(bytes[0]) | uLongf(bytes[1]) << 8 | uLongf(bytes[2]) << 16 |
                        uLongf(bytes[3]) << 24;
  std::vector<unsigned char> out(wanted);
  uLongf got = wanted;
  // uncompress checks the stream's own checksum: damaged bytes never pass for the original.
  if (uncompress(out.data(), &got, bytes + 4, size - 4) != Z_OK || got != wanted) return nullptr;
  return &expanded.emplace(key, std::move(out)).first->second;
}

}  // namespace zarvane
