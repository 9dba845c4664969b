#pragma once
// Scratch folders, whole-file helpers and an installer layout built by hand (with zlib's own
// compress2, not the archive's writer), shared by the archive and command-line tests.
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zarvane::testing {

using Bytes = std::vector<unsigned char>;

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes TextBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  Bytes b(n);
  for (auto& c : b) c = static_cast<unsigned char>(gen());
  return b;
}

// A fresh folder under the temporary folder, removed again at the end of the test.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& tag) {
    static int serial = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("zarvane_" + tag + "_" + std::to_string(++serial) + "_" +
             std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string Path() const { return path_.string(); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Write(const std::string& name, const Bytes& bytes) const {
    WriteBytes(File(name), bytes);
    return File(name);
  }
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_),
                                                  std::filesystem::directory_iterator()));
  }

 private:
  std::filesystem::path path_;
};

inline void PutU32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

inline Bytes Deflate(const Bytes& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 6);
  out.resize(size);
  return out;
}

// One installer laid out byte by byte; fields can be bent to make hostile files.
struct LayoutMember {
  std::string name;
  Bytes data;
  Bytes stream;  // empty: Deflate(data)
  std::int64_t usize = -1;  // -1: data.size()
};

inline Bytes LayOut(const Bytes& stub, std::vector<LayoutMember> members,
                    std::optional<std::int32_t> count = std::nullopt, const std::string& version = "1.10") {
  Bytes file = stub;
  std::vector<std::uint32_t> offsets;
  for (auto& m : members) {
    if (m.stream.empty()) m.stream = Deflate(m.data);
    offsets.push_back(static_cast<std::uint32_t>(file.size()));
    file.insert(file.end(), m.stream.begin(), m.stream.end());
  }
  for (std::size_t i = 0; i < members.size(); ++i) {
    const auto& m = members[i];
    PutU32(file, offsets[i]);
    PutU32(file, static_cast<std::uint32_t>(m.usize < 0 ? m.data.size() : m.usize));
    PutU32(file, static_cast<std::uint32_t>(m.stream.size()));
    file.insert(file.end(), m.name.begin(), m.name.end());
    PutU32(file, static_cast<std::uint32_t>(m.name.size()));
  }
  PutU32(file, static_cast<std::uint32_t>(count ? *count : static_cast<std::int32_t>(members.size())));
  file.insert(file.end(), version.begin(), version.end());
  const std::string marker = "!QOBA_SFX!";
  file.insert(file.end(), marker.begin(), marker.end());
  return file;
}

}  // namespace zarvane::testing
