// The archive's side of the archive benchmarks (bench/archive/run times it against its peers):
//   bench_archive payload FILE MIB      a mixed file: 1 MiB runs of random bytes and of text
//   bench_archive write INSTALLER FILE...
//   bench_archive extract INSTALLER FOLDER
// write and extract print their peak resident memory in KiB: the process's own, which a parent's
// rusage cannot give (it keeps the larger size of the process before exec).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "payload_archive.h"
#include "stub_resource.h"

namespace {

// Random and text alternate, as a movie and its pages would in an installer.
bool MakeMixedFile(const char* path, std::size_t mib) {
  static const char* const words[] = {
      "wallpaper", "movie", "desktop", "the", "of", "and", "colour", "frame", "install",
      "folder", "a", "to", "picture", "flash", "control", "page", "background", "window",
      "tile", "stretch", "center", "licence", "name", "setup", "uninstall", "html", "layer"};
  std::mt19937 gen(42);
  std::ofstream out(path, std::ios::binary);
  std::vector<char> run(1 << 20);
  for (std::size_t r = 0; r < mib; ++r) {
    std::size_t i = 0;
    if (r % 2 == 0) {
      for (; i < run.size(); ++i) run[i] = static_cast<char>(gen());
    } else {
      while (i < run.size()) {
        for (const char* w = words[gen() % (sizeof words / sizeof *words)]; *w && i < run.size(); ++w)
          run[i++] = *w;
        if (i < run.size()) run[i++] = gen() % 12 == 0 ? '\n' : ' ';
      }
    }
    out.write(run.data(), static_cast<std::streamsize>(run.size()));
  }
  return static_cast<bool>(out);
}

long PeakKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, 6, "VmHWM:") == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage = "usage: bench_archive payload FILE MIB | write INSTALLER FILE... | extract INSTALLER FOLDER\n";
  if (argc < 4) {
    std::fputs(usage, stderr);
    return 2;
  }
  if (std::strcmp(argv[1], "payload") == 0) return MakeMixedFile(argv[2], std::strtoul(argv[3], nullptr, 10)) ? 0 : 1;
  zarvane::PayloadArchive archive;
  int result;
  if (std::strcmp(argv[1], "write") == 0) {
    static const unsigned char stub[] = "MZ bench stub";
    zarvane::RegisterStubResource(zarvane::kStubResourceId, stub, sizeof stub - 1);
    for (int i = 3; i < argc; ++i)
      if (!archive.AddFile(argv[i])) return 1;
    result = archive.WriteInstaller(zarvane::kStubResourceId, argv[2], nullptr, 0);
  } else if (std::strcmp(argv[1], "extract") == 0) {
    result = archive.ExtractAllFrom(argv[2], argv[3], nullptr, 0);
  } else {
    std::fputs(usage, stderr);
    return 2;
  }
  std::printf("%ld\n", PeakKiB());
  if (result != zarvane::kArchiveOk) std::fprintf(stderr, "bench_archive: %s\n", zarvane::ArchiveResultText(result, argv[1][0] == 'w'));
  return result == zarvane::kArchiveOk ? 0 : 1;
}
