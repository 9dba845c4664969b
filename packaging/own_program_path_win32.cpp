// Apart from the stub's resource: the installer reads its own file, and must not pull in the
// expansion of packed resources with it.
#include <windows.h>

#include "stub_resource.h"

namespace zarvane {

std::string OwnProgramPath() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

}  // namespace zarvane
