#include "stub_resource.h"

namespace zarvane {

#ifdef _WIN32
bool FindWindowsStubResource(int id, StubBytes* stub);
#else
static bool FindWindowsStubResource(int, StubBytes*) { return false; }
#endif

namespace {
struct Registered {
  int id = 0;
  StubBytes bytes;
};
Registered g_registered[4];
}  // namespace

void RegisterStubResource(int id, const unsigned char* data, std::size_t size) {
  for (Registered& r : g_registered) {
    if (r.id == id || r.id == 0) {
      r.id = id;
      r.bytes.data = data;
      r.bytes.size = size;
      return;
    }
  }
}

bool FindStubResource(int id, StubBytes* stub) {
  for (const Registered& r : g_registered) {
    if (r.id == id && r.bytes.data) {
      *stub = r.bytes;
      return true;
    }
  }
  return FindWindowsStubResource(id, stub);
}

}  // namespace zarvane
