#include "archive_file.h"

#include <cstdint>
#include <ctime>

#include "archive_format.h"

namespace zarvane {

// The stream's own buffer as large as the archive's blocks, so that whole blocks pass straight
// through to the system.
static std::FILE* Buffered(std::FILE* file) {
  if (file) std::setvbuf(file, nullptr, _IOFBF, kArchiveBufferSize);
  return file;
}

bool ArchiveFile::OpenRead(const std::string& path) {
  Close();
  file_ = Buffered(std::fopen(HostPath(path).c_str(), "rb"));
  // Windows refuses to open a folder as a file; so do we everywhere.
  if (file_ && !os::IsRegularFile(file_)) Close();
  return file_ != nullptr;
}

bool ArchiveFile::CreateFresh(const std::string& folder, std::string& path) {
  Close();
  // The name need not be secret: the file is created only where nothing is, so a taken name
  // costs one more attempt.
  static unsigned serial = 0;
  static const char hex[] = "0123456789abcdef";
  const unsigned seed = static_cast<unsigned>(std::time(nullptr)) ^
                        static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&path) >> 4);
  for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
    unsigned value = seed ^ (++serial * 0x9E3779B9u);
    std::string name = "zarvane-";
    for (int i = 0; i < 8; ++i, value >>= 4) name += hex[value & 15];
    path = folder + name + ".part";
    file_ = Buffered(os::CreateNewFile(HostPath(path)));
  }
  if (!file_) path.clear();
  return file_ != nullptr;
}

bool ArchiveFile::Close() {
  unwritten_ = 0;
  if (!file_) return true;
  bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

#ifdef _WIN32
static int SeekTo(std::FILE* f, std::int64_t offset, int whence) { return _fseeki64(f, offset, whence); }
static std::int64_t Tell(std::FILE* f) { return _ftelli64(f); }
#else
static int SeekTo(std::FILE* f, std::int64_t offset, int whence) { return fseeko(f, offset, whence); }
static std::int64_t Tell(std::FILE* f) { return ftello(f); }
#endif

std::int64_t ArchiveFile::Size() {
  if (!file_) return -1;
  std::int64_t here = Tell(file_);
  if (here < 0 || SeekTo(file_, 0, SEEK_END) != 0) return -1;
  std::int64_t size = Tell(file_);
  if (SeekTo(file_, here, SEEK_SET) != 0) return -1;
  return size;
}

bool ArchiveFile::Seek(std::int64_t offset) {
  return file_ && offset >= 0 && SeekTo(file_, offset, SEEK_SET) == 0;
}

std::size_t ArchiveFile::Read(void* buffer, std::size_t size) {
  return file_ ? std::fread(buffer, 1, size, file_) : 0;
}

bool ArchiveFile::Write(const void* buffer, std::size_t size) {
  if (!file_ || std::fwrite(buffer, 1, size, file_) != size) return false;
  // A large file goes to the disk while it is being made, not all at once when it replaces
  // another: that wait would otherwise fall on the rename at the end.
  unwritten_ += size;
  if (unwritten_ >= kWriteBackStep) {
    unwritten_ = 0;
    os::StartWriteBack(file_);
  }
  return true;
}

}  // namespace zarvane
