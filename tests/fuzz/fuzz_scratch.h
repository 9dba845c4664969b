#pragma once
// A folder of the fuzz process's own for the files a target reads; removed at exit.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

class FuzzScratch {
 public:
  FuzzScratch() {
    namespace fs = std::filesystem;
    const char* base = fs::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    dir_ = fs::path(base) / ("zarvane_fuzz_" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  ~FuzzScratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  // Ends with "/".
  std::string Folder() const { return dir_.string() + "/"; }
  std::string Write(const std::string& name, const unsigned char* data, std::size_t size) {
    std::string path = Folder() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    return path;
  }

 private:
  std::filesystem::path dir_;
};

inline FuzzScratch& TheFuzzScratch() {
  static FuzzScratch scratch;
  return scratch;
}
