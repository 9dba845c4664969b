#include <iostream>

#include "archive_format.h"
#include "cli_command.h"
#include "stub_resource.h"

#ifndef _WIN32
// The installer program, compiled in: the portable build has no resources.
extern const unsigned char zarvane_installer_stub[];
extern const std::size_t zarvane_installer_stub_size;
#endif

int main(int argc, char** argv) {
#ifndef _WIN32
  zarvane::RegisterStubResource(zarvane::kStubResourceId, zarvane_installer_stub,
                                zarvane_installer_stub_size);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  return zarvane::RunCli(args, std::cout, std::cerr);
}
