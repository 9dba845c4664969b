#include <cstring>

#include "path_words.h"
#include "payload_archive.h"
#include "stub_resource.h"

namespace zarvane {

bool PayloadArchive::AddFile(const std::string& path, AddRefusal* why) {
  auto refuse = [why](AddRefusal reason) {
    if (why) *why = reason;
    return false;
  };
  if (why) *why = AddRefusal::kNone;
  if (count_ >= kArchiveMaxMembers) return refuse(AddRefusal::kFull);
  // A path separated by "/" is still a path: its last component is the name, so that no member
  // is ever written under a name the reader must refuse.
  std::string name = BareName(path);
  if (!IsWindowsFileName(name)) return refuse(AddRefusal::kBadName);
  ArchiveFile file;
  if (!file.OpenRead(path)) return refuse(AddRefusal::kUnreadable);
  std::int64_t size = file.Size();
  if (size < 0) return refuse(AddRefusal::kUnreadable);
  if (size > 0xFFFFFFFFll) return refuse(AddRefusal::kTooLarge);
  ArchiveMember& m = members_[count_];
  m = ArchiveMember();
  m.name = name;
  m.sourcePath = path;
  m.usize = static_cast<std::uint32_t>(size);
  ++count_;
  return true;
}

int PayloadArchive::WriteInstaller(int stubId, const std::string& outputPath,
                                   ArchiveProgress progress, std::intptr_t user) {
  if (count_ == 0) return kArchiveEmpty;
  StubBytes stub;
  if (!FindStubResource(stubId, &stub)) return kArchiveNoStub;
  if (IsNonFileAt(outputPath)) return kArchiveWriteFailed;
  ArchiveFile out;
  std::string fresh;
  if (!out.CreateFresh(FolderOf(outputPath), fresh)) return kArchiveWriteFailed;
  progress_ = progress;
  user_ = user;

  int result = kArchiveOk;
  std::uint64_t end = stub.size;
  if (end > kArchiveMaxFileSize || !out.Write(stub.data, stub.size)) result = kArchiveWriteFailed;
  for (int i = 0; i < count_ && result == kArchiveOk; ++i) {
    members_[i].offset = static_cast<std::uint32_t>(end);
    result = WriteMember(out, members_[i]);
    end += members_[i].csize;
    if (result == kArchiveOk && end > kArchiveMaxFileSize) result = kArchiveWriteFailed;
  }
  if (result == kArchiveOk) {
    for (int i = 0; i < count_; ++i) end += kArchiveRecordFixedSize + members_[i].name.size();
    end += kArchiveTrailerSize;
    if (end > kArchiveMaxFileSize) result = kArchiveWriteFailed;
  }
  for (int i = 0; i < count_ && result == kArchiveOk; ++i) {
    const ArchiveMember& m = members_[i];
    unsigned char* p = out_.get();
    PutU32LE(p, m.offset);
    PutU32LE(p + 4, m.usize);
    PutU32LE(p + 8, m.csize);
    std::memcpy(p + 12, m.name.data(), m.name.size());
    PutU32LE(p + 12 + m.name.size(), static_cast<std::uint32_t>(m.name.size()));
    if (!out.Write(out_.get(), kArchiveRecordFixedSize + m.name.size())) result = kArchiveWriteFailed;
  }
  if (result == kArchiveOk) {
    PutU32LE(out_.get(), static_cast<std::uint32_t>(count_));
    std::memcpy(out_.get() + 4, kArchiveVersion, kArchiveVersionSize);
    std::memcpy(out_.get() + 4 + kArchiveVersionSize, kArchiveMarker, kArchiveMarkerSize);
    if (!out.Write(out_.get(), kArchiveTrailerSize)) result = kArchiveWriteFailed;
  }
  if (!out.Close() && result == kArchiveOk) result = kArchiveWriteFailed;
  progress_ = nullptr;
  if (result == kArchiveOk && !MoveOver(fresh, outputPath)) result = kArchiveWriteFailed;
  // A file without trailer is no installer; do not leave one behind.
  if (result != kArchiveOk) RemoveCreatedFile(fresh);
  return result;
}

int PayloadArchive::WriteMember(ArchiveFile& out, ArchiveMember& member) {
  ArchiveFile source;
  if (!source.OpenRead(member.sourcePath)) return kArchiveSourceFailed;
  Send(kArchiveEventBegin, &member);
  std::int64_t size = source.Size();
  progressTotal_ = size < 0 ? 0u : static_cast<std::uint32_t>(size);

  std::memset(&stream_, 0, sizeof stream_);
  if (deflateInit(&stream_, 6) != Z_OK) return kArchiveWriteFailed;
  bool ok = true;
  for (;;) {
    if (stream_.avail_in == 0) {
      std::size_t n = source.Read(in_.get(), kArchiveBufferSize);
      if (n == 0) break;
      stream_.next_in = in_.get();
      stream_.avail_in = static_cast<uInt>(n);
    }
    stream_.next_out = out_.get();
    stream_.avail_out = kArchiveBufferSize;
    int z = deflate(&stream_, Z_NO_FLUSH);
    if (!out.Write(out_.get(), kArchiveBufferSize - stream_.avail_out)) ok = false;
    if (z != Z_OK || !ok) {
      ok = false;
      break;
    }
    SendPercent(static_cast<std::uint32_t>(stream_.total_in));
    if (stream_.total_out > kArchiveMaxFileSize) {
      ok = false;
      break;
    }
  }
  source.Close();
  int z = Z_OK;
  while (ok) {
    stream_.next_out = out_.get();
    stream_.avail_out = kArchiveBufferSize;
    z = deflate(&stream_, Z_FINISH);
    std::size_t produced = kArchiveBufferSize - stream_.avail_out;
    if (!out.Write(out_.get(), produced)) ok = false;
    if (z == Z_STREAM_END) break;
    if (z != Z_OK) ok = false;
  }
  member.csize = static_cast<std::uint32_t>(stream_.total_out);
  // The directory tells what the stream holds, even if the file changed since AddFile.
  member.usize = static_cast<std::uint32_t>(stream_.total_in);
  deflateEnd(&stream_);
  if (!ok) return kArchiveWriteFailed;
  SendPercent(progressTotal_);  // every member's report ends at 100
  Send(kArchiveEventDone, &member);
  return kArchiveOk;
}

}  // namespace zarvane
