#include <unistd.h>

#include "stub_resource.h"

namespace zarvane {

std::string OwnProgramPath() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace zarvane
