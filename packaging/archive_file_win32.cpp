#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <vector>

#include "archive_file.h"
#include "archive_format.h"
#include "path_words.h"

namespace zarvane {
namespace {

class FileHandle {
 public:
  explicit FileHandle(const std::string& path)
      : handle_(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Identity(BY_HANDLE_FILE_INFORMATION& info) const {
    return handle_ != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle_, &info);
  }

 private:
  HANDLE handle_;
};

// The whole of `from` written over `to` in place: for an old file that another program holds
// open, which Windows lets us write but not replace.
bool CopyInPlace(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return false;
  std::FILE* out = std::fopen(to.c_str(), "wb");
  bool ok = out != nullptr;
  std::vector<char> buffer(kArchiveBufferSize);
  while (ok) {
    std::size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
    if (n == 0) break;
    ok = std::fwrite(buffer.data(), 1, n, out) == n;
  }
  ok = ok && !std::ferror(in);
  std::fclose(in);
  if (out && std::fclose(out) != 0) ok = false;
  return ok;
}

}  // namespace

bool os::IsRegularFile(std::FILE* file) {
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_DISK;
}

// Windows' cache manager writes a growing file behind on its own.
void os::StartWriteBack(std::FILE*) {}

std::FILE* os::CreateNewFile(const std::string& path) {
  int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "wb");
  if (!file) {
    _close(fd);
    DeleteFileA(path.c_str());
  }
  return file;
}

void RemoveCreatedFile(const std::string& path) {
  if (IsNonFileAt(path)) return;
  DeleteFileA(path.c_str());
}

bool IsNonFileAt(const std::string& path) {
  if (IsWindowsDeviceName(BareName(path))) return true;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SameExistingFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION ia, ib;
  FileHandle fa(a), fb(b);
  return fa.Identity(ia) && fb.Identity(ib) &&
         ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

bool MoveOver(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  if (GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES || !CopyInPlace(from, to))
    return false;
  DeleteFileA(from.c_str());
  return true;
}

}  // namespace zarvane
