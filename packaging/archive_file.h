#pragma once
// The archive's file handle: binary, positioned, read-shared. Windows paths ("\") work everywhere.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace zarvane {

class ArchiveFile {
 public:
  ArchiveFile() = default;
  ~ArchiveFile() { Close(); }
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  bool OpenRead(const std::string& path);  // the file must exist
  bool Create(const std::string& path);    // replaces any existing file
  bool IsOpen() const { return file_ != nullptr; }
  bool Close();                            // false when buffered data could not be written

  std::int64_t Size();                     // -1 on failure
  bool Seek(std::int64_t offset);
  std::int64_t Position();
  std::size_t Read(void* buffer, std::size_t size);
  bool Write(const void* buffer, std::size_t size);

 private:
  std::FILE* file_ = nullptr;
};

// Removes a file this archive created, never a device or link that stood at the path.
void RemoveCreatedFile(const std::string& path);

// The path in the host's own spelling ("\" becomes "/" outside Windows).
std::string HostPath(const std::string& path);

}  // namespace zarvane
