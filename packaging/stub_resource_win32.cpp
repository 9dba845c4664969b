#include <windows.h>

#include "stub_resource.h"

namespace zarvane {

bool FindWindowsStubResource(int id, StubBytes* stub) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(id), "SFX_EXE");
  if (!found) return false;
  HGLOBAL loaded = LoadResource(self, found);
  if (!loaded) return false;
  const void* bytes = LockResource(loaded);
  if (!bytes) return false;
  stub->data = static_cast<const unsigned char*>(bytes);
  stub->size = SizeofResource(self, found);
  return true;
}

std::string OwnProgramPath() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

}  // namespace zarvane
