#pragma once
// PayloadArchive writes the payload behind the installer stub (authoring tool, command-line tool)
// and reads it back out of an installer file (installer, command-line tool). Layout: see
// archive_format.h.
#include <cstdint>
#include <memory>
#include <string>

#include <zlib.h>

#include "archive_file.h"
#include "archive_format.h"

namespace zarvane {

// Result codes of every archive operation (one vocabulary for writer and reader).
enum ArchiveResult : int {
  kArchiveCannotOpen = 1000,    // ReadDirectory: the archive file cannot be opened
  kArchiveNoPayload = 1001,     // no marker, another version, or a damaged directory or stream
  kArchiveOk = 1002,
  kArchiveEmpty = 1004,         // writer: no members added; reader: the directory holds none
  kArchiveWriteFailed = 1005,   // output/target cannot be created or written; a member failed
  kArchiveSourceFailed = 1006,  // a source file (writer: cannot be opened or read to the end it had
                                // when its writing began) or the installer file (reader) cannot be opened
  kArchiveNoStub = 1007,        // the stub resource cannot be found
};

// Progress events; data is the ArchiveMember for begin/done, an int* percentage for step.
enum ArchiveEvent : int {
  kArchiveEventBegin = 1000,
  kArchiveEventDone = 1001,
  kArchiveEventStep = 1002,
};

// What a result means, for messages: `writing` picks the writer's reading of 1004 to 1006.
const char* ArchiveResultText(int result, bool writing);

// Why AddFile refused a file.
enum class AddRefusal {
  kNone,
  kFull,        // 256 members are registered already
  kBadName,     // Windows could not create a file of that name (IsWindowsFileName)
  kUnreadable,  // the file cannot be opened for reading, or is no plain file
  kTooLarge,    // its size does not fit the directory's 32 bits
};

typedef void (*ArchiveProgress)(int event, void* data, std::intptr_t user);

struct ArchiveMember {
  std::string name;        // bare file name, the name it is extracted under
  std::string sourcePath;  // writer only
  std::uint32_t usize = 0;
  std::uint32_t csize = 0;
  std::uint32_t offset = 0;
};

class MemberCompressor;

class PayloadArchive {
 public:
  PayloadArchive();
  ~PayloadArchive();
  PayloadArchive(const PayloadArchive&) = delete;
  PayloadArchive& operator=(const PayloadArchive&) = delete;

  // Writer. Members are written in the order they were added.
  bool AddFile(const std::string& path, AddRefusal* why = nullptr);
  // The stub is resource "SFX_EXE" `stubId` of the running program (see stub_resource.h). The
  // installer is written beside `outputPath` under a fresh name and takes the place of any old
  // file there only when it is complete; a folder or device at `outputPath` is refused (1005).
  int WriteInstaller(int stubId, const std::string& outputPath, ArchiveProgress progress,
                     std::intptr_t user);
  // After 1006 from WriteInstaller: the source file at fault.
  const std::string& FailedSource() const { return failedSource_; }
  // Threads that compress members side by side (0, the default: one per core). The installer
  // is byte for byte the same whatever the number.
  void SetCompressionThreads(int threads) { compressionThreads_ = threads; }

  // Reader.
  int ReadDirectory(const std::string& path);
  // Extracts every member of the running program's own file into `folder`.
  int ExtractAll(const std::string& folder, ArchiveProgress progress, std::intptr_t user);
  // The same for a named installer file (command-line tool, tests).
  int ExtractAllFrom(const std::string& installerPath, const std::string& folder,
                     ArchiveProgress progress, std::intptr_t user);
  // Writes member `index` of the open installer file to folder + name; `folder` ends in a
  // separator. An old file there is replaced only by the complete, checked member.
  int ExtractMember(ArchiveFile& installer, int index, const std::string& folder);
  // Inflates member `index` into a fresh file in `folder`, named in `staged` (empty unless the
  // result is 1002); 1001 when its stream is damaged, 1005 when it cannot be written (a name
  // Windows gives no file included). Moving it into place is the caller's part.
  int StageMember(ArchiveFile& installer, int index, const std::string& folder,
                  std::string& staged);

  int Count() const { return count_; }
  const ArchiveMember& Member(int index) const { return members_[index]; }
  // The installer program's length without payload: where member 0 begins (0 when empty).
  std::uint32_t StubLength() const { return count_ > 0 ? members_[0].offset : 0; }

 private:
  void Clear();
  void Send(int event, void* data);
  void SendPercent(std::uint32_t done);
  // `room`: the bytes the member's stream may take before the installer grows too large.
  int WriteMember(ArchiveFile& out, ArchiveMember& member, MemberCompressor& compressor,
                  std::uint64_t room);
  // 1002 when the stream ends exactly at its packed size with exactly its unpacked size.
  int InflateMember(ArchiveFile& installer, const ArchiveMember& member, ArchiveFile& target);

  ArchiveMember members_[kArchiveMaxMembers];
  int count_ = 0;
  z_stream stream_;
  std::unique_ptr<unsigned char[]> in_;
  std::unique_ptr<unsigned char[]> out_;
  std::uint32_t progressTotal_ = 0;
  int compressionThreads_ = 0;
  ArchiveProgress progress_ = nullptr;
  std::intptr_t user_ = 0;
  std::string failedSource_;
};

}  // namespace zarvane
