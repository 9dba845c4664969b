#include "payload_archive.h"

#include <cstdio>
#include <cstring>

#include "signed_program.h"
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

PayloadArchive::PayloadArchive()
    : in_(new unsigned char[kArchiveBufferSize]), out_(new unsigned char[kArchiveBufferSize]) {
  std::memset(&stream_, 0, sizeof stream_);
}

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

int PayloadArchive::ReadDirectory(const std::string& path) {
  Clear();
  ArchiveFile file;
  if (!file.OpenRead(path)) return kArchiveCannotOpen;
  // A signed installer's payload ends at its certificate table.
  std::int64_t size = PayloadEnd(file, file.Size());
  if (size < static_cast<std::int64_t>(kArchiveTrailerSize)) return kArchiveNoPayload;
  unsigned char* t = in_.get();
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
    if (distance + 4 > size || !file.Seek(size - distance - 4) || file.Read(in_.get(), 4) != 4)
      return kArchiveNoPayload;
    std::uint32_t n = GetU32LE(in_.get());
    if (n >= kArchiveNameLimit) return kArchiveNoPayload;
    std::int64_t record = kArchiveRecordFixedSize + n;
    if (distance + record > size || !file.Seek(size - distance - record) ||
        file.Read(in_.get(), 12 + n) != 12 + n)
      return kArchiveNoPayload;
    ArchiveMember& m = members_[i];
    m.offset = GetU32LE(in_.get());
    m.usize = GetU32LE(in_.get() + 4);
    m.csize = GetU32LE(in_.get() + 8);
    m.name.assign(reinterpret_cast<const char*>(in_.get() + 12), n);
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
  progress_ = progress;
  user_ = user;
  // Each member is inflated once, into a file of its own beside its final name; old files are
  // replaced only when every stream has proved whole, so a damaged installer changes nothing.
  std::string staged[kArchiveMaxMembers];
  int failures = 0;
  bool damaged = false;
  // Last member first: of two members named alike, the lower-numbered copy is the one left.
  for (int i = count_ - 1; i >= 0 && !damaged; --i) {
    Send(kArchiveEventBegin, &members_[i]);
    int staging = StageMember(installer, i, target, staged[i]);
    if (staging == kArchiveOk)
      Send(kArchiveEventDone, &members_[i]);
    else if (staging == kArchiveNoPayload)
      damaged = true;
    else
      ++failures;
  }
  progress_ = nullptr;
  for (int i = count_ - 1; i >= 0; --i) {
    if (staged[i].empty()) continue;
    if (damaged || !MoveOver(staged[i], target + members_[i].name)) {
      RemoveCreatedFile(staged[i]);
      if (!damaged) ++failures;
    }
  }
  if (damaged) return kArchiveNoPayload;
  return failures ? kArchiveWriteFailed : kArchiveOk;
}

int PayloadArchive::ExtractMember(ArchiveFile& installer, int index, const std::string& folder) {
  std::string staged;
  int result = StageMember(installer, index, folder, staged);
  if (result == kArchiveOk && !MoveOver(staged, folder + members_[index].name)) {
    RemoveCreatedFile(staged);
    result = kArchiveWriteFailed;
  }
  return result;
}

int PayloadArchive::StageMember(ArchiveFile& installer, int index, const std::string& folder,
                                std::string& staged) {
  staged.clear();
  if (index < 0 || index >= count_) return kArchiveWriteFailed;
  const ArchiveMember& member = members_[index];
  if (!IsWindowsFileName(member.name)) return kArchiveWriteFailed;
  ArchiveFile target;
  if (!target.CreateFresh(folder, staged)) return kArchiveWriteFailed;
  int result = InflateMember(installer, member, target);
  if (!target.Close() && result == kArchiveOk) result = kArchiveWriteFailed;
  if (result != kArchiveOk) {
    RemoveCreatedFile(staged);
    staged.clear();
  }
  return result;
}

int PayloadArchive::InflateMember(ArchiveFile& installer, const ArchiveMember& member,
                                  ArchiveFile& target) {
  if (!installer.Seek(member.offset)) return kArchiveNoPayload;
  std::memset(&stream_, 0, sizeof stream_);
  progressTotal_ = member.csize;
  if (inflateInit(&stream_) != Z_OK) return kArchiveWriteFailed;
  std::uint32_t unread = member.csize;  // the stream must end exactly at its packed size
  bool ended = false;
  bool sound = true;
  bool written = true;
  while (sound && written && !ended) {
    if (stream_.avail_in == 0) {
      std::size_t n = installer.Read(in_.get(), unread < kArchiveBufferSize ? unread : kArchiveBufferSize);
      if (n == 0) break;  // the stream does not end within its packed size
      unread -= static_cast<std::uint32_t>(n);
      stream_.next_in = in_.get();
      stream_.avail_in = static_cast<uInt>(n);
    }
    stream_.next_out = out_.get();
    stream_.avail_out = kArchiveBufferSize;
    int z = inflate(&stream_, Z_NO_FLUSH);
    std::size_t produced = kArchiveBufferSize - stream_.avail_out;
    ended = z == Z_STREAM_END;
    // Never write more than the directory promised: a hostile stream cannot fill the disk.
    sound = stream_.total_out <= member.usize &&
            (z == Z_OK || ended || (z == Z_BUF_ERROR && stream_.avail_in == 0));
    if (!sound) break;
    written = target.Write(out_.get(), produced);
    if (written) SendPercent(static_cast<std::uint32_t>(stream_.total_in));
  }
  bool complete = sound && ended && stream_.avail_in == 0 && unread == 0 &&
                  stream_.total_out == member.usize;
  inflateEnd(&stream_);
  if (!written) return kArchiveWriteFailed;
  return complete ? kArchiveOk : kArchiveNoPayload;
}

}  // namespace zarvane
