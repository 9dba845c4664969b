// bench_archive [MiB]: times WriteInstaller and extraction of one mixed file (half random, half
// text) against gzip -6 and gzip -d on the same data, in the same run, best of three.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "payload_archive.h"
#include "stub_resource.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

void MakeMixedFile(const fs::path& path, std::size_t size) {
  static const char* const words[] = {
      "wallpaper", "movie", "desktop", "the", "of", "and", "colour", "frame", "install",
      "folder", "a", "to", "picture", "flash", "control", "page", "background", "window",
      "tile", "stretch", "center", "licence", "name", "setup", "uninstall", "html", "layer"};
  std::mt19937 gen(42);
  std::vector<char> data(size);
  std::size_t i = 0;
  // Random and text alternate in 1 MiB runs, as a movie and its texts would in an installer.
  const std::size_t run = 1 << 20;
  while (i < size) {
    bool random = (i / run) % 2 == 0;
    std::size_t end = std::min(size, i + run);
    if (random) {
      for (; i < end; ++i) data[i] = static_cast<char>(gen());
    } else {
      while (i < end) {
        const char* w = words[gen() % (sizeof words / sizeof *words)];
        for (; *w && i < end; ++w) data[i++] = *w;
        if (i < end) data[i++] = gen() % 12 == 0 ? '\n' : ' ';
      }
    }
  }
  std::ofstream(path, std::ios::binary).write(data.data(), static_cast<std::streamsize>(size));
}

template <typename F>
double BestOf3(F f) {
  double best = 1e30;
  for (int i = 0; i < 3; ++i) {
    auto t0 = Clock::now();
    f();
    double s = std::chrono::duration<double>(Clock::now() - t0).count();
    if (s < best) best = s;
  }
  return best;
}

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
  fs::path dir = fs::temp_directory_path() / ("zarvane_bench_" + std::to_string(getpid()));
  fs::create_directories(dir / "out");
  fs::path input = dir / "mixed.bin", installer = dir / "setup.exe", gz = dir / "mixed.bin.gz";
  MakeMixedFile(input, mib << 20);
  static const unsigned char stub[] = "MZ bench stub";
  zarvane::RegisterStubResource(zarvane::kStubResourceId, stub, sizeof stub - 1);

  double write = BestOf3([&] {
    fs::remove(installer);
    zarvane::PayloadArchive archive;
    if (!archive.AddFile(input.string()) ||
        archive.WriteInstaller(zarvane::kStubResourceId, installer.string(), nullptr, 0) !=
            zarvane::kArchiveOk)
      std::exit(1);
  });
  double gzip = BestOf3([&] { Shell("gzip -6 -c '" + input.string() + "' > '" + gz.string() + "'"); });
  double extract = BestOf3([&] {
    zarvane::PayloadArchive archive;
    if (archive.ExtractAllFrom(installer.string(), (dir / "out").string(), nullptr, 0) !=
        zarvane::kArchiveOk)
      std::exit(1);
  });
  double gunzip = BestOf3([&] {
    Shell("gzip -d -c '" + gz.string() + "' > '" + (dir / "gunzipped.bin").string() + "'");
  });
  bool same = fs::file_size(dir / "out" / "mixed.bin") == fs::file_size(input);

  std::printf("mixed file: %zu MiB (1 MiB runs, random and text alternating)\n", mib);
  std::printf("  WriteInstaller %7.3f s  %10ju bytes\n", write, std::uintmax_t(fs::file_size(installer)));
  std::printf("  gzip -6        %7.3f s  %10ju bytes\n", gzip, std::uintmax_t(fs::file_size(gz)));
  std::printf("  extraction     %7.3f s%s\n", extract, same ? "" : "  (size differs!)");
  std::printf("  gzip -d        %7.3f s\n", gunzip);
  std::printf("ratios: write/gzip -6 = %.2f, extraction/gzip -d = %.2f (below 1: faster)\n",
              write / gzip, extract / gunzip);
  fs::remove_all(dir);
  return same ? 0 : 1;
}
