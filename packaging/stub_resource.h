#pragma once
// Where the installer stub comes from. Windows: resource "SFX_EXE" `id` of the running program's
// own module. The portable build has no resources: a program registers the bytes it compiled in
// (the command-line tool does so at start), and registered bytes are found on Windows too.
#include <cstddef>
#include <string>

namespace zarvane {

struct StubBytes {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

bool FindStubResource(int id, StubBytes* stub);
void RegisterStubResource(int id, const unsigned char* data, std::size_t size);

// The running program's own file (GetModuleFileNameA on Windows).
std::string OwnProgramPath();

}  // namespace zarvane
