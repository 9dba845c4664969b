#include <windows.h>

#include "packed_resource.h"
#include "stub_resource.h"

namespace zarvane {

// The program carries the stub as it is ("SFX_EXE") or compressed ("SFX_EXE_PACKED", the
// authoring tool), then expanded once to its exact bytes.
bool FindWindowsStubResource(int id, StubBytes* stub) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(id), "SFX_EXE");
  if (!found) {
    const std::vector<unsigned char>* expanded = ExpandedResource(id, "SFX_EXE_PACKED");
    if (!expanded || expanded->empty()) return false;
    stub->data = expanded->data();
    stub->size = expanded->size();
    return true;
  }
  HGLOBAL loaded = LoadResource(self, found);
  if (!loaded) return false;
  const void* bytes = LockResource(loaded);
  if (!bytes) return false;
  stub->data = static_cast<const unsigned char*>(bytes);
  stub->size = SizeofResource(self, found);
  return true;
}

}  // namespace zarvane
