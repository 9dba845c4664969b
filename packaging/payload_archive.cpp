#include "payload_archive.h"

#include <cstdio>
#include <cstring>

#include "path_words.h"
#include "stub_resource.h"

namespace zarvane {

const char* ArchiveResultText(int result, bool writing) {
  switch (result) {
    case kArchiveCannotOpen: return "the installer file cannot be opened";
    case kArchiveNoPayload: return "the file carries no payload, or a damaged one";
    case kArchiveOk: return "success";
    case kArchiveEmpty:
      return writing ? "no files were added to the installer" : "the installer holds no members";
    case kArchiveWriteFailed:
      return writing ? "the installer file cannot be written"
                     : "at least one member could not be extracted";
    case kArchiveSourceFailed:
      return writing ? "a source file cannot be opened"
                     : "the installer file cannot be opened for extraction";
    case kArchiveNoStub: return "the installer program (resource SFX_EXE) cannot be found";
  }
  return "unknown result";
}

PayloadArchive::PayloadArchive() { std::memset(&stream_, 0, sizeof stream_); }

PayloadArchive::~PayloadArchive() = default;

void PayloadArchive::Clear() {
  for (ArchiveMember& m : members_) m = ArchiveMember();
  count_ = 0;
}

void PayloadArchive::Send(int event, void* data) {
  if (progress_) progress_(event, data, user_);
}

void PayloadArchive::SendPercent(std::uint32_t done) {
  int percent = ArchivePercentage(done, progressTotal_);
  Send(kArchiveEventStep, &percent);
}

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
    unsigned char* p = out_;
    PutU32LE(p, m.offset);
    PutU32LE(p + 4, m.usize);
    PutU32LE(p + 8, m.csize);
    std::memcpy(p + 12, m.name.data(), m.name.size());
    PutU32LE(p + 12 + m.name.size(), static_cast<std::uint32_t>(m.name.size()));
    if (!out.Write(out_, kArchiveRecordFixedSize + m.name.size())) result = kArchiveWriteFailed;
  }
  if (result == kArchiveOk) {
    PutU32LE(out_, static_cast<std::uint32_t>(count_));
    std::memcpy(out_ + 4, kArchiveVersion, kArchiveVersionSize);
    std::memcpy(out_ + 4 + kArchiveVersionSize, kArchiveMarker, kArchiveMarkerSize);
    if (!out.Write(out_, kArchiveTrailerSize)) result = kArchiveWriteFailed;
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
      std::size_t n = source.Read(in_, sizeof in_);
      if (n == 0) break;
      stream_.next_in = in_;
      stream_.avail_in = static_cast<uInt>(n);
    }
    stream_.next_out = out_;
    stream_.avail_out = sizeof out_;
    int z = deflate(&stream_, Z_NO_FLUSH);
    if (!out.Write(out_, sizeof out_ - stream_.avail_out)) ok = false;
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
    stream_.next_out = out_;
    stream_.avail_out = sizeof out_;
    z = deflate(&stream_, Z_FINISH);
    std::size_t produced = sizeof out_ - stream_.avail_out;
    if (!out.Write(out_, produced)) ok = false;
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

int PayloadArchive::ReadDirectory(const std::string& path) {
  Clear();
  ArchiveFile file;
  if (!file.OpenRead(path)) return kArchiveCannotOpen;
  std::int64_t size = file.Size();
  if (size < static_cast<std::int64_t>(kArchiveTrailerSize)) return kArchiveNoPayload;
  unsigned char* t = in_;
  if (!file.Seek(size - static_cast<std::int64_t>(kArchiveTrailerSize)) ||
      file.Read(t, kArchiveTrailerSize) != kArchiveTrailerSize)
    return kArchiveNoPayload;
  if (std::memcmp(t + 8, kArchiveMarker, kArchiveMarkerSize) != 0 ||
      std::memcmp(t + 4, kArchiveVersion, kArchiveVersionSize) != 0)
    return kArchiveNoPayload;
  std::int32_t count = static_cast<std::int32_t>(GetU32LE(t));
  if (count == 0) return kArchiveEmpty;
  if (count < 0 || count > kArchiveMaxMembers) return kArchiveNoPayload;

  std::int64_t distance = kArchiveTrailerSize;
  for (int i = count - 1; i >= 0; --i) {
    if (distance + 4 > size || !file.Seek(size - distance - 4) || file.Read(in_, 4) != 4)
      return kArchiveNoPayload;
    std::uint32_t n = GetU32LE(in_);
    if (n >= kArchiveNameLimit) return kArchiveNoPayload;
    std::int64_t record = kArchiveRecordFixedSize + n;
    if (distance + record > size || !file.Seek(size - distance - record) ||
        file.Read(in_, 12 + n) != 12 + n)
      return kArchiveNoPayload;
    ArchiveMember& m = members_[i];
    m.offset = GetU32LE(in_);
    m.usize = GetU32LE(in_ + 4);
    m.csize = GetU32LE(in_ + 8);
    m.name.assign(reinterpret_cast<const char*>(in_ + 12), n);
    distance += record;
  }
  // The streams lie back to back, the last one up to the directory: a count or a size that
  // was changed shows here, before anything is extracted under a wrong name or length.
  std::uint64_t end = static_cast<std::uint64_t>(size - distance);
  for (int i = count - 1; i >= 0; --i) {
    if (std::uint64_t(members_[i].offset) + members_[i].csize != end) {
      Clear();
      return kArchiveNoPayload;
    }
    end = members_[i].offset;
  }
  count_ = count;
  return kArchiveOk;
}

int PayloadArchive::ExtractAll(const std::string& folder, ArchiveProgress progress,
                               std::intptr_t user) {
  return ExtractAllFrom(OwnProgramPath(), folder, progress, user);
}

int PayloadArchive::ExtractAllFrom(const std::string& installerPath, const std::string& folder,
                                   ArchiveProgress progress, std::intptr_t user) {
  std::string target = folder;
  if (!target.empty() && target.back() != '\\' && target.back() != '/') target += '\\';
  int result = ReadDirectory(installerPath);
  if (result != kArchiveOk) return result;
  ArchiveFile installer;
  if (!installer.OpenRead(installerPath)) return kArchiveSourceFailed;
  // Every stream is checked whole before the first file is written: a damaged installer
  // extracts nothing.
  for (int i = 0; i < count_; ++i)
    if (!InflateMember(installer, members_[i], nullptr)) return kArchiveNoPayload;
  progress_ = progress;
  user_ = user;
  int failures = 0;
  // Last member first: of two members named alike, the lower-numbered copy is the one left.
  for (int i = count_ - 1; i >= 0; --i) {
    Send(kArchiveEventBegin, &members_[i]);
    if (ExtractMember(installer, i, target) == kArchiveOk)
      Send(kArchiveEventDone, &members_[i]);
    else
      ++failures;
  }
  progress_ = nullptr;
  return failures ? kArchiveWriteFailed : kArchiveOk;
}

int PayloadArchive::ExtractMember(ArchiveFile& installer, int index, const std::string& folder) {
  if (index < 0 || index >= count_) return kArchiveWriteFailed;
  const ArchiveMember& member = members_[index];
  if (!IsWindowsFileName(member.name)) return kArchiveWriteFailed;
  std::string path = folder + member.name;
  ArchiveFile target;
  if (!target.Create(path)) return kArchiveWriteFailed;
  bool ok = InflateMember(installer, member, &target);
  if (!target.Close()) ok = false;
  if (ok) return kArchiveOk;
  // A cut-off or damaged member must not be left looking like the real file.
  RemoveCreatedFile(path);
  return kArchiveWriteFailed;
}

bool PayloadArchive::InflateMember(ArchiveFile& installer, const ArchiveMember& member,
                                   ArchiveFile* target) {
  if (!installer.Seek(member.offset)) return false;
  std::memset(&stream_, 0, sizeof stream_);
  progressTotal_ = member.csize;
  if (inflateInit(&stream_) != Z_OK) return false;
  std::uint32_t unread = member.csize;  // the stream must end exactly at its packed size
  bool ended = false;
  bool ok = true;
  while (ok && !ended) {
    if (stream_.avail_in == 0) {
      std::size_t n = installer.Read(in_, unread < sizeof in_ ? unread : sizeof in_);
      if (n == 0) break;  // the stream does not end within its packed size
      unread -= static_cast<std::uint32_t>(n);
      stream_.next_in = in_;
      stream_.avail_in = static_cast<uInt>(n);
    }
    stream_.next_out = out_;
    stream_.avail_out = sizeof out_;
    int z = inflate(&stream_, Z_NO_FLUSH);
    std::size_t produced = sizeof out_ - stream_.avail_out;
    ended = z == Z_STREAM_END;
    // Never write more than the directory promised: a hostile stream cannot fill the disk.
    ok = stream_.total_out <= member.usize && (!target || target->Write(out_, produced)) &&
         (z == Z_OK || ended || (z == Z_BUF_ERROR && stream_.avail_in == 0));
    if (ok) SendPercent(static_cast<std::uint32_t>(stream_.total_in));
  }
  bool complete = ok && ended && stream_.avail_in == 0 && unread == 0 &&
                  stream_.total_out == member.usize;
  inflateEnd(&stream_);
  return complete;
}

}  // namespace zarvane
