#include <cstring>

#include "member_compressor.h"
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
  MemberCompressor compressor(compressionThreads_);
  for (int i = 0; i < count_ && result == kArchiveOk; ++i) {
    members_[i].offset = static_cast<std::uint32_t>(end);
    result = WriteMember(out, members_[i], compressor, kArchiveMaxFileSize - end);
    end += members_[i].csize;
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

int PayloadArchive::WriteMember(ArchiveFile& out, ArchiveMember& member,
                                MemberCompressor& compressor, std::uint64_t room) {
  failedSource_ = member.sourcePath;
  ArchiveFile source;
  if (!source.OpenRead(member.sourcePath)) return kArchiveSourceFailed;
  Send(kArchiveEventBegin, &member);
  std::int64_t size = source.Size();
  progressTotal_ = size < 0 ? 0u : static_cast<std::uint32_t>(size);
  MemberCompressor::Sizes sizes;
  bool ok = compressor.Compress(
      source, out, room,
      [this](std::uint64_t done) { SendPercent(static_cast<std::uint32_t>(done)); }, sizes);
  if (!ok || sizes.in > 0xFFFFFFFFu) return kArchiveWriteFailed;
  // A cut or growing file would travel as a whole one: verify and extract could not tell.
  if (source.ReadFailed() || size < 0 || sizes.in != static_cast<std::uint64_t>(size))
    return kArchiveSourceFailed;
  failedSource_.clear();
  member.csize = static_cast<std::uint32_t>(sizes.out);
  member.usize = static_cast<std::uint32_t>(sizes.in);
  SendPercent(progressTotal_);  // every member's report ends at 100
  Send(kArchiveEventDone, &member);
  return kArchiveOk;
}

}  // namespace zarvane
