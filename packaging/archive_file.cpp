#include "archive_file.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zarvane {

std::string HostPath(const std::string& path) {
#ifdef _WIN32
  return path;
#else
  std::string host = path;
  for (char& c : host)
    if (c == '\\') c = '/';
  return host;
#endif
}

void RemoveCreatedFile(const std::string& path) {
  std::string host = HostPath(path);
#ifndef _WIN32
  struct stat st;
  if (lstat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
#endif
  std::remove(host.c_str());
}

bool ArchiveFile::OpenRead(const std::string& path) {
  Close();
  file_ = std::fopen(HostPath(path).c_str(), "rb");
#ifndef _WIN32
  // Windows refuses to open a folder as a file; so do we.
  struct stat st;
  if (file_ && (fstat(fileno(file_), &st) != 0 || !S_ISREG(st.st_mode))) Close();
#endif
  return file_ != nullptr;
}

bool ArchiveFile::Create(const std::string& path) {
  Close();
  file_ = std::fopen(HostPath(path).c_str(), "wb");
  return file_ != nullptr;
}

bool ArchiveFile::Close() {
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

std::int64_t ArchiveFile::Position() { return file_ ? Tell(file_) : -1; }

std::size_t ArchiveFile::Read(void* buffer, std::size_t size) {
  return file_ ? std::fread(buffer, 1, size, file_) : 0;
}

bool ArchiveFile::Write(const void* buffer, std::size_t size) {
  return file_ && std::fwrite(buffer, 1, size, file_) == size;
}

}  // namespace zarvane
