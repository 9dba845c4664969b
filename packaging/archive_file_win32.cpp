#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "archive_file.h"
#include "archive_format.h"
#include "file_system.h"
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

// Writes the bytes of `source` over `target` from its start; `written` counts what landed.
bool Overwrite(HANDLE target, const std::string& source, std::uint64_t& written) {
  written = 0;
  HANDLE in = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (in == INVALID_HANDLE_VALUE) return false;
  // Not SetFilePointerEx, which the Windows 9x family lacks: the installer must start there.
  bool ok = SetFilePointer(target, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
  std::vector<char> buffer(kArchiveBufferSize);
  while (ok) {
    DWORD got = 0, put = 0;
    ok = ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) != 0;
    if (!ok || got == 0) break;
    ok = WriteFile(target, buffer.data(), got, &put, nullptr) && put == got;
    if (ok) written += got;
  }
  CloseHandle(in);
  return ok && SetEndOfFile(target) && FlushFileBuffers(target);
}

// The whole of `from` written over `to` in place: for an old file that another program holds
// open, which Windows lets us write but not replace. The old bytes wait in a copy beside it and
// go back when the new ones cannot all be written, so the old file is never left cut.
bool CopyInPlace(const std::string& from, const std::string& to) {
  ArchiveFile fresh;
  std::string backup;
  if (!fresh.CreateFresh(FolderOf(to), backup)) return false;
  fresh.Close();
  bool ok = false;
  if (CopyFileA(to.c_str(), backup.c_str(), FALSE)) {
    HANDLE out = CreateFileA(to.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
      std::uint64_t written = 0, restored = 0;
      ok = Overwrite(out, from, written);
      if (!ok && written > 0) Overwrite(out, backup, restored);
      CloseHandle(out);
    }
  }
  DeleteFileA(backup.c_str());
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
  if (MoveReplacing(from, to)) return true;
  if (GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES || !CopyInPlace(from, to))
    return false;
  DeleteFileA(from.c_str());
  return true;
}

}  // namespace zarvane
