#include <zlib.h>

#include "archive_file.h"
#include "cli_command.h"
#include "file_messages.h"
#include "file_system.h"
#include "installer_config.h"
#include "payload_archive.h"
#include "profile.h"
#include "terminal_text.h"

namespace zarvane {

static int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

#define ZARVANE_VERIFY_TEXT(name)                                                               \
  "usage: zarvane-cli " name " INSTALLER\n"                                                      \
  "\n"                                                                                           \
  "Checks an installer without writing anything beside it: its layout, every member inflated\n" \
  "and compared with its recorded sizes, and that \"instcfg.ini\" and every file it names are\n" \
  "among the members (no checksum covers the names). Prints one line per member, ok or\n"        \
  "damaged, and a summary. Exit status 0 when the installer is whole, 1 when it is damaged.\n"

extern const CliCommand kVerifyCommand = {"verify", "checks that an installer is whole",
                                          ZARVANE_VERIFY_TEXT("verify"), RunVerify};
extern const CliCommand kTestCommand = {"test", "the same as verify", ZARVANE_VERIFY_TEXT("test"),
                                        RunVerify};

namespace {

// Inflates the member's stream; true when it ends exactly at its packed size with exactly its
// unpacked size. The bytes are kept in `kept` when it is given.
bool InflatesWhole(ArchiveFile& file, const ArchiveMember& member, std::string* kept) {
  if (!file.Seek(member.offset)) return false;
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  unsigned char in[kArchiveBufferSize], outBuffer[kArchiveBufferSize];
  std::uint32_t left = member.csize;
  std::uint64_t produced = 0;
  int status = Z_OK;
  while (status == Z_OK) {
    if (stream.avail_in == 0) {
      if (left == 0) break;
      std::size_t want = left < sizeof in ? left : sizeof in;
      std::size_t got = file.Read(in, want);
      if (got != want) break;
      left -= static_cast<std::uint32_t>(got);
      stream.next_in = in;
      stream.avail_in = static_cast<uInt>(got);
    }
    stream.next_out = outBuffer;
    stream.avail_out = sizeof outBuffer;
    status = inflate(&stream, Z_NO_FLUSH);
    std::size_t made = sizeof outBuffer - stream.avail_out;
    produced += made;
    if (kept) kept->append(reinterpret_cast<char*>(outBuffer), made);
    if (status == Z_BUF_ERROR && made > 0) status = Z_OK;
  }
  bool whole = status == Z_STREAM_END && left == 0 && stream.avail_in == 0 &&
               produced == member.usize;
  inflateEnd(&stream);
  return whole;
}

// True when the configuration names only files that are members. Read through a private copy,
// as the installer reads it from its extraction folder.
bool ConfigurationComplete(const std::string& config, const PayloadArchive& archive) {
  std::string folder = MakePrivateTempFolder();
  if (folder.empty() || !ReplaceFileContents(folder + "instcfg.ini", config)) {
    if (!folder.empty()) RemoveFolderAndFiles(folder);
    return false;
  }
  std::unique_ptr<Profile> profile = MakePortableProfile();
  InstallerConfig read = ReadInstallerConfig(*profile, folder);
  RemoveFolderAndFiles(folder);
  std::vector<std::string> names;
  for (int i = 0; i < archive.Count(); ++i) names.push_back(archive.Member(i).name);
  return IsCompletePayload(read, names);
}

}  // namespace

static int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) return UsageError(kVerifyCommand, "expects one INSTALLER", err);
  const std::string& path = args[0];
  PayloadArchive archive;
  int result = archive.ReadDirectory(path);
  if (result != kArchiveOk) return ArchiveFailure(err, path, result);
  ArchiveFile file;
  if (!file.OpenRead(path)) return FileFailure(err, path, WhyUnreadable(path));
  std::string firstDamaged, config;
  bool anyDamaged = false, configFound = false;
  for (int i = 0; i < archive.Count(); ++i) {
    const ArchiveMember& member = archive.Member(i);
    bool isConfig = i == 0 && member.name == "instcfg.ini";
    bool whole = InflatesWhole(file, member, isConfig ? &config : nullptr);
    configFound = configFound || (isConfig && whole);
    out << (whole ? "ok" : "damaged") << '\t' << Printable(member.name) << '\n';
    if (!whole && !anyDamaged) firstDamaged = member.name;
    anyDamaged = anyDamaged || !whole;
  }
  if (anyDamaged) {
    out << archive.Count() << " members: damaged\n";
    return FileFailure(err, path, "damaged member \"" + Printable(firstDamaged) + "\"");
  }
  if (!configFound) {
    out << archive.Count() << " members: damaged\n";
    return FileFailure(err, path, "damaged: no \"instcfg.ini\" as its first member");
  }
  if (!ConfigurationComplete(config, archive)) {
    out << archive.Count() << " members: damaged\n";
    return FileFailure(err, path,
                       "damaged: \"instcfg.ini\" names a file that is not among the members");
  }
  out << archive.Count() << " members: whole\n";
  return kExitOk;
}

}  // namespace zarvane
