// Any bytes as an installer file. The directory reader must respect its table; extraction must
// create nothing outside its folder, nothing at all from a damaged installer, never more bytes
// than the directory promised, and report success only when every member arrived.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "host_text.h"
#include "payload_archive.h"

namespace fs = std::filesystem;

namespace {

struct Scratch {
  fs::path dir, installer, out;
  Scratch() {
    const char* base = fs::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    dir = fs::path(base) / ("zarvane_fuzz_" + std::to_string(getpid()));
    fs::create_directories(dir / "out");
    installer = dir / "installer.exe";
    out = dir / "out";
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

}  // namespace

void WriteFile(const fs::path& path, const unsigned char* data, std::size_t size,
               const unsigned char* tail, std::size_t tailSize) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fwrite(tail, 1, tailSize, f);
  std::fclose(f);
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  Scratch& s = TheScratch();
  WriteFile(s.installer, data, size, nullptr, 0);
  zarvane::PayloadArchive archive;
  int result = archive.ReadDirectory(s.installer.string());
#ifdef FUZZ_EXTRACT
  // Most mutations break the trailer; then the input after 4 bytes of usize becomes the one
  // member's stream, so that inflation itself gets explored.
  if (result == zarvane::kArchiveNoPayload && size >= 4) {
    unsigned char tail[17 + 18];
    zarvane::PutU32LE(tail, 4);
    zarvane::PutU32LE(tail + 4, zarvane::GetU32LE(data) % (1u << 20));
    zarvane::PutU32LE(tail + 8, static_cast<std::uint32_t>(size - 4));
    tail[12] = 'm';
    zarvane::PutU32LE(tail + 13, 1);
    zarvane::PutU32LE(tail + 17, 1);
    std::memcpy(tail + 21, "1.10!QOBA_SFX!", 14);
    WriteFile(s.installer, data, size, tail, sizeof tail);
    result = archive.ReadDirectory(s.installer.string());
    if (result != zarvane::kArchiveOk) std::abort();
  }
#endif
  if (result == zarvane::kArchiveOk) {
    if (archive.Count() < 1 || archive.Count() > zarvane::kArchiveMaxMembers) std::abort();
    for (int i = 0; i < archive.Count(); ++i)
      if (archive.Member(i).name.size() >= zarvane::kArchiveNameLimit) std::abort();
  } else if (archive.Count() != 0) {
    std::abort();
  }
#ifdef FUZZ_EXTRACT
  if (result != zarvane::kArchiveOk) return 0;
  // Many members may share one stream: keep each run small, the promise is checked below.
  std::uint64_t promised = 0;
  for (int i = 0; i < archive.Count(); ++i) promised += archive.Member(i).usize;
  if (promised > (64u << 20)) return 0;
  result = archive.ExtractAllFrom(s.installer.string(), s.out.string(), nullptr, 0);
  // A damaged stream is found before anything is written.
  if (result == zarvane::kArchiveNoPayload) {
    if (!fs::is_empty(s.out)) std::abort();
    return 0;
  }
  if (result != zarvane::kArchiveOk && result != zarvane::kArchiveWriteFailed) std::abort();
  int entries = 0;
  for (const auto& e : fs::directory_iterator(s.dir)) {
    (void)e;
    ++entries;
  }
  if (entries != 2) std::abort();  // something was created beside the folder
  for (const auto& e : fs::directory_iterator(s.out)) {
    std::string name = e.path().filename().string();
    // Of members named alike, the lowest-numbered is extracted last: its whole bytes stay.
    int first = -1;
    for (int i = archive.Count() - 1; i >= 0; --i)
      if (zarvane::HostText(archive.Member(i).name) == name) first = i;  // as the host spells it
    if (first < 0 || !e.is_regular_file()) std::abort();
    if (fs::file_size(e.path()) != archive.Member(first).usize) std::abort();
  }
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(s.out)) fs::remove_all(e.path(), ec);
#endif
  return 0;
}
