// make_test_installer STUB OUTPUT FILE...: packs FILE... (in that order, member 0 first) behind
// the installer program STUB, the way the build does, so whole-program tests can make installers
// with exactly the members a case needs.
#include <cstdio>
#include <string>
#include <vector>

#include "payload_archive.h"
#include "stub_resource.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: make_test_installer STUB OUTPUT FILE...\n", stderr);
    return 2;
  }
  std::FILE* in = std::fopen(argv[1], "rb");
  if (!in) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  std::vector<unsigned char> stub;
  unsigned char chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) stub.insert(stub.end(), chunk, chunk + got);
  std::fclose(in);
  zarvane::RegisterStubResource(228, stub.data(), stub.size());

  zarvane::PayloadArchive archive;
  for (int i = 3; i < argc; ++i) {
    if (!archive.AddFile(argv[i])) {
      std::fprintf(stderr, "cannot add %s\n", argv[i]);
      return 1;
    }
  }
  std::remove(argv[2]);
  int result = archive.WriteInstaller(228, argv[2], nullptr, 0);
  if (result != zarvane::kArchiveOk) {
    std::fprintf(stderr, "writing %s failed: %d\n", argv[2], result);
    return 1;
  }
  return 0;
}
