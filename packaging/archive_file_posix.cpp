#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "archive_file.h"

namespace zarvane {

bool os::IsRegularFile(std::FILE* file) {
  struct stat st;
  return fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode);
}

std::FILE* os::CreateNewFile(const std::string& path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(path.c_str());
  }
  return file;
}

void os::StartWriteBack(std::FILE* file) {
#ifdef SYNC_FILE_RANGE_WRITE
  sync_file_range(fileno(file), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
  (void)file;
#endif
}

void RemoveCreatedFile(const std::string& path) {
  std::string host = HostPath(path);
  struct stat st;
  if (lstat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  std::remove(host.c_str());
}

bool IsNonFileAt(const std::string& path) {
  struct stat st;
  return stat(HostPath(path).c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool SameExistingFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(HostPath(a).c_str(), &sa) == 0 && stat(HostPath(b).c_str(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool MoveOver(const std::string& from, const std::string& to) {
  return std::rename(HostPath(from).c_str(), HostPath(to).c_str()) == 0;
}

}  // namespace zarvane
