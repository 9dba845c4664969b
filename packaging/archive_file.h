#pragma once
// The archive's file handle: binary, positioned, read-shared. Windows paths ("\") work everywhere.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "host_text.h"

namespace zarvane {

class ArchiveFile {
 public:
  ArchiveFile() = default;
  ~ArchiveFile() { Close(); }
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  bool OpenRead(const std::string& path);  // the file must exist
  // A new file in `folder` (ending in a separator) under a name nothing had; `path` gets it.
  bool CreateFresh(const std::string& folder, std::string& path);
  bool IsOpen() const { return file_ != nullptr; }
  bool Close();                            // false when buffered data could not be written

  std::int64_t Size();                     // -1 on failure
  bool Seek(std::int64_t offset);
  std::size_t Read(void* buffer, std::size_t size);
  bool ReadFailed() const { return file_ && std::ferror(file_); }
  bool Write(const void* buffer, std::size_t size);

 private:
  static constexpr std::size_t kWriteBackStep = 8u << 20;
  std::FILE* file_ = nullptr;
  std::size_t unwritten_ = 0;  // bytes written since the system was last asked to store them
};

// Removes a file this archive created, never a device or link that stood at the path.
void RemoveCreatedFile(const std::string& path);

// Something that is no plain file stands at the path: a folder or a device (links followed).
bool IsNonFileAt(const std::string& path);

// Both paths lead to one existing file, however they are spelt or linked.
bool SameExistingFile(const std::string& a, const std::string& b);

// Puts the finished file `from` in the place of `to`, replacing whatever file was there.
bool MoveOver(const std::string& from, const std::string& to);

// The operating system's part of ArchiveFile (archive_file_win32.cpp, archive_file_posix.cpp).
namespace os {
bool IsRegularFile(std::FILE* file);
std::FILE* CreateNewFile(const std::string& path);  // fails when anything is at the path
void StartWriteBack(std::FILE* file);  // starts storing what was written, without waiting
}  // namespace os

}  // namespace zarvane
