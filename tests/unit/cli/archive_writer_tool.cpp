// archive_writer_tool STUB OUTPUT FILE...: writes an installer with the archive's writer, the
// given file standing in for the installer program. Prints the result code.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "payload_archive.h"
#include "stub_resource.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  static std::vector<unsigned char> stub((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
  zarvane::RegisterStubResource(zarvane::kStubResourceId, stub.data(), stub.size());
  zarvane::PayloadArchive archive;
  for (int i = 3; i < argc; ++i)
    if (!archive.AddFile(argv[i])) std::printf("refused %s\n", argv[i]);
  int result = archive.WriteInstaller(zarvane::kStubResourceId, argv[2], nullptr, 0);
  std::printf("%d\n", result);
  return result == zarvane::kArchiveOk ? 0 : 1;
}
