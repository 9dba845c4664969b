#include "installer_check.h"

#include <zlib.h>

#include <memory>

#include "archive_damage.h"
#include "archive_file.h"
#include "file_messages.h"
#include "file_system.h"
#include "host_text.h"
#include "installer_config.h"
#include "profile.h"
#include "signed_program.h"
#include "stub_resource.h"
#include "terminal_text.h"
#include "text.h"

namespace zarvane {
namespace {

// True when the member's stream ends exactly at its packed size with exactly its unpacked
// size. The bytes are kept in `kept` when it is given.
bool InflatesWhole(ArchiveFile& file, const ArchiveMember& member, std::string* kept) {
  if (!file.Seek(member.offset)) return false;
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  std::unique_ptr<unsigned char[]> in(new unsigned char[kArchiveBufferSize]);
  std::unique_ptr<unsigned char[]> out(new unsigned char[kArchiveBufferSize]);
  std::uint32_t left = member.csize;
  std::uint64_t produced = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    if (stream.avail_in == 0) {
      if (left == 0) break;
      std::size_t want = left < kArchiveBufferSize ? left : kArchiveBufferSize;
      std::size_t got = file.Read(in.get(), want);
      if (got != want) break;
      left -= static_cast<std::uint32_t>(got);
      stream.next_in = in.get();
      stream.avail_in = static_cast<uInt>(got);
    }
    stream.next_out = out.get();
    stream.avail_out = kArchiveBufferSize;
    status = inflate(&stream, Z_NO_FLUSH);
    std::size_t made = kArchiveBufferSize - stream.avail_out;
    produced += made;
    if (produced > member.usize) break;  // more than promised is damage, and never kept
    if (kept) kept->append(reinterpret_cast<char*>(out.get()), made);
    if (status == Z_BUF_ERROR && made > 0) status = Z_OK;
  }
  bool whole = status == Z_STREAM_END && left == 0 && stream.avail_in == 0 &&
               produced == member.usize;
  inflateEnd(&stream);
  return whole;
}

// The first file the configuration names that no member is called; empty when none. Read
// through a private copy, as the installer reads it from its extraction folder.
std::string NamedButMissing(const std::string& config, const PayloadArchive& archive) {
  std::string folder = MakePrivateTempFolder();
  if (folder.empty() || !ReplaceFileContents(folder + "instcfg.ini", config)) {
    if (!folder.empty()) RemoveFolderAndFiles(folder);
    return "instcfg.ini";
  }
  std::unique_ptr<Profile> profile = MakePortableProfile();
  InstallerConfig read = ReadInstallerConfig(*profile, folder);
  RemoveFolderAndFiles(folder);
  auto bare = [&](const std::string& path) {
    return path.empty() ? path : path.substr(read.baseFolder.size());
  };
  std::vector<std::string> named = {bare(read.movieOrImageFile), bare(read.licenseFile),
                                    read.movieFile, read.imageFile, read.backgroundImageFile};
  named.insert(named.end(), read.resourceFiles.begin(), read.resourceFiles.end());
  for (const std::string& name : named) {
    if (name.empty()) continue;
    bool found = false;
    for (int i = 0; i < archive.Count() && !found; ++i)
      found = SameNameIgnoringCase(name, archive.Member(i).name);
    if (!found) return name;
  }
  return "";
}

}  // namespace

std::string ReadInstallerDirectory(const std::string& path, PayloadArchive& archive) {
  int result = archive.ReadDirectory(path);
  if (result == kArchiveOk) return "";
  std::string why = WhyUnreadable(path);
  if (!why.empty()) return why;
  return ArchiveDamageText(DescribeArchiveDamage(path, result));
}

PayloadVerdict CheckPayload(const std::string& path, const PayloadArchive& archive) {
  PayloadVerdict verdict;
  ArchiveFile file;
  if (!file.OpenRead(path)) {
    verdict.whole.assign(archive.Count(), false);
    verdict.problem = WhyUnreadable(path);
    return verdict;
  }
  std::string config;
  for (int i = 0; i < archive.Count(); ++i) {
    const ArchiveMember& member = archive.Member(i);
    bool isConfig = i == 0 && member.name == "instcfg.ini";
    bool whole = InflatesWhole(file, member, isConfig ? &config : nullptr);
    verdict.whole.push_back(whole);
    if (!whole && verdict.problem.empty())
      verdict.problem = "member " + std::to_string(i) + " (" + member.name + ") damaged";
  }
  if (verdict.problem.empty()) verdict.problem = NamesProblem(config, archive);
  return verdict;
}

std::string NamesProblem(const std::string& config, const PayloadArchive& archive) {
  if (archive.Member(0).name != "instcfg.ini")
    return "directory damaged: member 0 is not \"instcfg.ini\"";
  // No checksum covers the names: a changed one shows only as a file the configuration misses.
  std::string missing = NamedButMissing(config, archive);
  if (missing.empty()) return "";
  return "directory damaged: \"instcfg.ini\" names \"" + missing + "\", but no member is called so";
}

bool IsSignedInstaller(const std::string& path) {
  ArchiveFile file;
  bool isSigned = false;
  return file.OpenRead(path) && PayloadEnd(file, file.Size(), &isSigned) >= 0 && isSigned;
}

ProgramVerdict CheckProgram(const std::string& path, const PayloadArchive& archive) {
  ProgramVerdict verdict;
  std::string program;
  ArchiveFile file;
  program.resize(archive.StubLength());
  if (!file.OpenRead(path) || file.Read(&program[0], program.size()) != program.size()) {
    verdict.text = "cannot be read";
    verdict.changed = true;
    return verdict;
  }
  StubBytes carried;
  std::string ours;
  if (FindStubResource(kStubResourceId, &carried))
    ours.assign(reinterpret_cast<const char*>(carried.data), carried.size);
  const std::string oursVersion = ProgramVersion(ours), itsVersion = ProgramVersion(program);
  // What signing sets in the header is the signature's to judge (CheckSignature), not ours.
  if (WithoutSigningFields(program) == WithoutSigningFields(ours)) {
    verdict.text = oursVersion.empty() ? "this version's" : "this version's (" + oursVersion + ")";
  } else if (oursVersion.empty()) {
    verdict.text = "not compared: this zarvane-cli carries no installer program";
  } else if (itsVersion.empty() || WindowsProgramEnd(program) != std::int64_t(program.size())) {
    verdict.text = "changed: not a Zarvane installer program, or a damaged one";
    verdict.changed = true;
  } else if (itsVersion != oursVersion) {
    verdict.text = "another version's (" + itsVersion + "; this zarvane-cli packs " + oursVersion + ")";
  } else {
    verdict.text = "changed: it says version " + itsVersion + ", but its bytes differ from that version's";
    verdict.changed = true;
  }
  return verdict;
}

}  // namespace zarvane
