// fuzz_seed_installers OUTDIR MOVIE...: small installers written by our writer, as fuzz seeds.
#include <cstdio>
#include <string>

#include "payload_archive.h"
#include "stub_resource.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  static const unsigned char stub[] = "MZ fuzz seed stub";
  zarvane::RegisterStubResource(zarvane::kStubResourceId, stub, sizeof stub - 1);
  std::string dir = argv[1];
  int written = 0;
  // One installer per movie, and one with several members including a config text.
  for (int i = 2; i <= argc; ++i) {
    zarvane::PayloadArchive archive;
    if (i < argc) {
      archive.AddFile(argv[i]);
    } else {
      for (int j = 2; j < argc && j < 8; ++j) archive.AddFile(argv[j]);
    }
    std::string out = dir + "/seed_" + std::to_string(i) + ".exe";
    if (archive.WriteInstaller(zarvane::kStubResourceId, out, nullptr, 0) == zarvane::kArchiveOk)
      ++written;
  }
  std::printf("%d seed installers in %s\n", written, dir.c_str());
  return 0;
}
