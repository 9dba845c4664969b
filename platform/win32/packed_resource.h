#pragma once
// Resources stored compressed (cmake/pack_resources.py writes them): the original's size, 4 bytes
// little-endian, then one zlib stream.
#include <windows.h>

#include <vector>

namespace zarvane {

// Resource `id` of type `type` in the running program, expanded on the first call and kept for
// the rest of the run; null when there is none or it does not expand to its recorded size.
// Safe from any thread.
const std::vector<unsigned char>* ExpandedResource(int id, const char* type);

}  // namespace zarvane
