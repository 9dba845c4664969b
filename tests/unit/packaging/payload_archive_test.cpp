#include "payload_archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "archive_test_util.h"
#include "member_compressor.h"
#include "stub_resource.h"

#ifndef _WIN32
extern const unsigned char test_stub[];
extern const std::size_t test_stub_size;
#endif

namespace zarvane {
namespace {

using testing::Bytes;
using testing::LayOut;
using testing::LayoutMember;
using testing::RandomBytes;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::TextBytes;

const std::string kStubPath = std::string(ZARVANE_SOURCE_DIR) + "/tests/fixtures/archive/stub.bin";

#ifndef _WIN32
// Windows finds the same bytes as resource "SFX_EXE" 228 of this test program.
const bool kStubRegistered = (RegisterStubResource(kStubResourceId, test_stub, test_stub_size), true);
#endif

struct Event {
  int code;
  std::string member;
  int percent;
};

void Record(int code, void* data, std::intptr_t user) {
  auto* events = reinterpret_cast<std::vector<Event>*>(user);
  if (code == kArchiveEventStep)
    events->push_back({code, "", *static_cast<int*>(data)});
  else
    events->push_back({code, static_cast<ArchiveMember*>(data)->name, 0});
}

std::intptr_t To(std::vector<Event>* events) { return reinterpret_cast<std::intptr_t>(events); }

// Begin/done names in order, steps left out.
std::vector<std::string> Sequence(const std::vector<Event>& events) {
  std::vector<std::string> seq;
  for (const Event& e : events)
    if (e.code != kArchiveEventStep) seq.push_back(std::to_string(e.code) + " " + e.member);
  return seq;
}

TEST(PayloadArchive, RoundTripKeepsEveryByteAndTheLayoutInvariants) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, Bytes>> files;
  } cases[] = {
      {"one text", {{"instcfg.ini", TextBytes("[Wallpaper]\r\nName=Clock\r\n")}}},
      {"block edges",
       {{"a", RandomBytes(4095, 1)}, {"b", RandomBytes(4096, 2)}, {"c", RandomBytes(4097, 3)}}},
      {"empty and large",
       {{"empty.txt", {}}, {"movie.swf", RandomBytes(300000, 4)},
        {"zeros.bin", Bytes(1 << 20, 0)}}},
  };
  Bytes stub = ReadBytes(kStubPath);
  ASSERT_GT(stub.size(), 1000u);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir src("src"), out("out");
    PayloadArchive writer;
    for (const auto& [name, bytes] : c.files) ASSERT_TRUE(writer.AddFile(src.Write(name, bytes)));
    std::vector<Event> written;
    std::string installer = src.File("setup.exe");
    ASSERT_EQ(writer.WriteInstaller(kStubResourceId, installer, Record, To(&written)), kArchiveOk);

    Bytes file = ReadBytes(installer);
    ASSERT_GE(file.size(), stub.size());
    EXPECT_TRUE(std::equal(stub.begin(), stub.end(), file.begin()));

    PayloadArchive reader;
    ASSERT_EQ(reader.ReadDirectory(installer), kArchiveOk);
    ASSERT_EQ(reader.Count(), static_cast<int>(c.files.size()));
    EXPECT_EQ(reader.StubLength(), stub.size());
    std::uint64_t next = stub.size(), directory = 0;
    for (int i = 0; i < reader.Count(); ++i) {
      const ArchiveMember& m = reader.Member(i);
      EXPECT_EQ(m.name, c.files[i].first);
      EXPECT_EQ(m.usize, c.files[i].second.size());
      EXPECT_EQ(m.offset, next);
      EXPECT_EQ(m.csize, writer.Member(i).csize);
      next += m.csize;
      directory += 16 + m.name.size();
    }
    EXPECT_EQ(file.size(), next + directory + 18);

    std::vector<Event> extracted;
    ASSERT_EQ(reader.ExtractAllFrom(installer, out.Path(), Record, To(&extracted)), kArchiveOk);
    for (const auto& [name, bytes] : c.files) EXPECT_EQ(ReadBytes(out.File(name)), bytes) << name;

    // Writing goes first to last, extraction last to first; each member is announced, then done.
    std::vector<std::string> expectWrite, expectExtract;
    for (const auto& f : c.files)
      expectWrite.insert(expectWrite.end(), {"1000 " + f.first, "1001 " + f.first});
    for (auto f = c.files.rbegin(); f != c.files.rend(); ++f)
      expectExtract.insert(expectExtract.end(), {"1000 " + f->first, "1001 " + f->first});
    EXPECT_EQ(Sequence(written), expectWrite);
    EXPECT_EQ(Sequence(extracted), expectExtract);
    // Between its begin and done each member's percentages rise, and the last one is 100.
    for (const auto* events : {&written, &extracted}) {
      int last = -1;
      for (const Event& e : *events) {
        if (e.code == kArchiveEventBegin) {
          last = -1;
        } else if (e.code == kArchiveEventStep) {
          EXPECT_GE(e.percent, last);
          EXPECT_LE(e.percent, 100);
          last = e.percent;
        } else {
          EXPECT_EQ(last, 100) << e.member;
        }
      }
    }
  }
}

// Many threads write the very bytes one thread writes, with the same events; what deflate
// cannot shrink is stored, no larger than its source but for the stream's framing.
TEST(PayloadArchive, ParallelBuildIsByteIdenticalAndStoresWhatDoesNotShrink) {
  ScratchDir src("par"), out("parout");
  Bytes mixed;
  for (int run = 0; run < 7; ++run) {
    Bytes part = run % 2 ? Bytes(300000 + run, static_cast<unsigned char>('a' + run))
                         : RandomBytes(200000 + run * 77777, run);
    mixed.insert(mixed.end(), part.begin(), part.end());
  }
  const Bytes random = RandomBytes(3 * 65535 + 17, 11);
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"instcfg.ini", TextBytes("[Wallpaper]\r\nName=Clock\r\n")},
      {"mixed.bin", mixed},
      {"movie.swf", random},
      {"empty.txt", {}}};
  std::vector<std::string> installers;
  std::vector<std::vector<Event>> events;
  for (int threads : {1, 2, 5}) {
    PayloadArchive writer;
    writer.SetCompressionThreads(threads);
    for (const auto& [name, bytes] : files) ASSERT_TRUE(writer.AddFile(src.Write(name, bytes)));
    installers.push_back(src.File("setup" + std::to_string(threads) + ".exe"));
    events.emplace_back();
    ASSERT_EQ(writer.WriteInstaller(kStubResourceId, installers.back(), Record, To(&events.back())),
              kArchiveOk);
  }
  const Bytes single = ReadBytes(installers[0]);
  for (std::size_t i = 1; i < installers.size(); ++i) {
    EXPECT_TRUE(ReadBytes(installers[i]) == single) << installers[i];
    ASSERT_EQ(events[i].size(), events[0].size());
    for (std::size_t e = 0; e < events[0].size(); ++e)
      EXPECT_TRUE(events[i][e].code == events[0][e].code &&
                  events[i][e].member == events[0][e].member &&
                  events[i][e].percent == events[0][e].percent) << e;
  }

  PayloadArchive reader;
  ASSERT_EQ(reader.ExtractAllFrom(installers[0], out.Path(), nullptr, 0), kArchiveOk);
  for (const auto& [name, bytes] : files) EXPECT_TRUE(ReadBytes(out.File(name)) == bytes) << name;
  const std::uint32_t framing = 2 + 5 * 4 + 2 + 4;  // header, four stored blocks, end, check
  EXPECT_LE(reader.Member(2).csize, random.size() + framing);
  EXPECT_LT(reader.Member(1).csize, mixed.size() * 7 / 10);  // two thirds random
}

TEST(PayloadArchive, SingleMemberLayoutIsExact) {
  ScratchDir dir("one");
  PayloadArchive writer;
  ASSERT_TRUE(writer.AddFile(dir.Write("a", TextBytes("x"))));
  ASSERT_EQ(writer.WriteInstaller(kStubResourceId, dir.File("s.exe"), nullptr, 0), kArchiveOk);
  Bytes file = ReadBytes(dir.File("s.exe"));
  Bytes stub = ReadBytes(kStubPath);
  std::uint32_t csize = writer.Member(0).csize;
  ASSERT_EQ(file.size(), stub.size() + csize + 17 + 18);
  const unsigned char* tail = file.data() + stub.size() + csize;
  EXPECT_EQ(GetU32LE(tail), stub.size());
  EXPECT_EQ(GetU32LE(tail + 4), 1u);
  EXPECT_EQ(GetU32LE(tail + 8), csize);
  EXPECT_EQ(tail[12], 'a');
  EXPECT_EQ(GetU32LE(tail + 13), 1u);
  EXPECT_EQ(GetU32LE(tail + 17), 1u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(tail + 21), 14), "1.10!QOBA_SFX!");
}

TEST(PayloadArchive, EmptyFileIsAnEightByteStreamAndExtractsEmpty) {
  ScratchDir dir("empty"), out("emptyout");
  PayloadArchive writer;
  ASSERT_TRUE(writer.AddFile(dir.Write("empty.dat", {})));
  ASSERT_EQ(writer.WriteInstaller(kStubResourceId, dir.File("s.exe"), nullptr, 0), kArchiveOk);
  EXPECT_EQ(writer.Member(0).usize, 0u);
  EXPECT_EQ(writer.Member(0).csize, 8u);
  PayloadArchive reader;
  ASSERT_EQ(reader.ExtractAllFrom(dir.File("s.exe"), out.Path(), nullptr, 0), kArchiveOk);
  EXPECT_TRUE(std::filesystem::exists(out.File("empty.dat")));
  EXPECT_EQ(std::filesystem::file_size(out.File("empty.dat")), 0u);
}

TEST(PayloadArchive, AddFileNamesAndLimits) {
  ScratchDir dir("add");
  std::string file = dir.Write("movie.swf", TextBytes("FWS"));
  PayloadArchive archive;
  std::string backslashed = file;
#ifndef _WIN32
  // Windows spelling of the same path; the portable side reads "\" as its own separator.
  for (char& c : backslashed)
    if (c == '/') c = '\\';
#endif
  EXPECT_TRUE(archive.AddFile(backslashed));
  EXPECT_EQ(archive.Member(0).name, "movie.swf");
  EXPECT_EQ(archive.Member(0).sourcePath, backslashed);
  EXPECT_EQ(archive.Member(0).usize, 3u);
  EXPECT_FALSE(archive.AddFile(dir.File("missing.swf")));
  EXPECT_FALSE(archive.AddFile(dir.Path()));  // a folder is no source file
  EXPECT_EQ(archive.Count(), 1);

  for (int i = 1; i < 256; ++i) ASSERT_TRUE(archive.AddFile(file)) << i;
  EXPECT_FALSE(archive.AddFile(dir.Write("extra.txt", TextBytes("257"))));
  EXPECT_EQ(archive.Count(), 256);
  EXPECT_EQ(archive.Member(255).name, "movie.swf");
}

TEST(PayloadArchive, WriterFailuresLeaveNoInstallerBehind) {
  ScratchDir dir("wfail");
  std::string source = dir.Write("gone.swf", TextBytes("data"));
  std::string output = dir.File("setup.exe");

  PayloadArchive none;
  EXPECT_EQ(none.WriteInstaller(kStubResourceId, output, nullptr, 0), kArchiveEmpty);
  EXPECT_FALSE(std::filesystem::exists(output));

  PayloadArchive unknownStub;
  ASSERT_TRUE(unknownStub.AddFile(source));
  EXPECT_EQ(unknownStub.WriteInstaller(4321, output, nullptr, 0), kArchiveNoStub);
  EXPECT_EQ(unknownStub.WriteInstaller(kStubResourceId, dir.File("no/such/dir/x.exe"), nullptr, 0),
            kArchiveWriteFailed);

  PayloadArchive vanished;
  ASSERT_TRUE(vanished.AddFile(source));
  std::filesystem::remove(source);
  EXPECT_EQ(vanished.WriteInstaller(kStubResourceId, output, nullptr, 0), kArchiveSourceFailed);
  EXPECT_FALSE(std::filesystem::exists(output));

  // An older installer stays as it was until a new one is complete; a folder is never replaced.
  dir.Write("setup.exe", TextBytes("the older installer"));
  EXPECT_EQ(vanished.WriteInstaller(kStubResourceId, output, nullptr, 0), kArchiveSourceFailed);
  EXPECT_EQ(ReadBytes(output), TextBytes("the older installer"));
  std::filesystem::create_directory(dir.File("folder.exe"));
  PayloadArchive ready;
  ASSERT_TRUE(ready.AddFile(dir.Write("here.txt", TextBytes("x"))));
  EXPECT_EQ(ready.WriteInstaller(kStubResourceId, dir.File("folder.exe"), nullptr, 0),
            kArchiveWriteFailed);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.exe")));
  EXPECT_EQ(dir.EntryCount(), 3u) << "no half-written file beside them";
}

// A source that another program cuts or extends while its member is being written.
struct ChangingSource {
  std::string path;
  std::uintmax_t newSize;
  bool begun = false;
  bool changed = false;
};

void ChangeOnFirstStep(int code, void* data, std::intptr_t user) {
  auto* source = reinterpret_cast<ChangingSource*>(user);
  if (code == kArchiveEventBegin)
    source->begun = static_cast<ArchiveMember*>(data)->sourcePath == source->path;
  if (code != kArchiveEventStep || !source->begun || source->changed) return;
  std::filesystem::resize_file(source->path, source->newSize);
  source->changed = true;
}

TEST(PayloadArchive, ASourceThatChangesWhileWrittenFailsTheBuild) {
  ScratchDir dir("changing");
  std::string output = dir.Write("setup.exe", TextBytes("the older installer"));
  const std::size_t size = 12 * MemberCompressor::kPieceSize;
  for (std::uintmax_t newSize : {std::uintmax_t(100), std::uintmax_t(size + 4096)}) {
    std::string movie = dir.Write("movie.swf", RandomBytes(size, 7));
    PayloadArchive archive;
    archive.SetCompressionThreads(1);
    ASSERT_TRUE(archive.AddFile(dir.Write("instcfg.ini", TextBytes("[Installer]"))));
    ASSERT_TRUE(archive.AddFile(movie));
    ChangingSource source{movie, newSize};
    EXPECT_EQ(archive.WriteInstaller(kStubResourceId, output, ChangeOnFirstStep,
                                     reinterpret_cast<std::intptr_t>(&source)),
              kArchiveSourceFailed)
        << "changed to " << newSize << " bytes";
    EXPECT_TRUE(source.changed);
    EXPECT_EQ(archive.FailedSource(), movie);
    EXPECT_EQ(ReadBytes(output), TextBytes("the older installer"));
    EXPECT_EQ(dir.EntryCount(), 3u) << "no half-written file beside them";
  }
}

TEST(PayloadArchive, WritingOverALongerFileLeavesNoTail) {
  ScratchDir dir("over");
  std::string output = dir.Write("setup.exe", RandomBytes(200000, 9));
  PayloadArchive writer;
  ASSERT_TRUE(writer.AddFile(dir.Write("a.txt", TextBytes("hello"))));
  ASSERT_EQ(writer.WriteInstaller(kStubResourceId, output, nullptr, 0), kArchiveOk);
  PayloadArchive reader;
  EXPECT_EQ(reader.ReadDirectory(output), kArchiveOk);
  EXPECT_LT(std::filesystem::file_size(output), 200000u);
}

TEST(PayloadArchive, DirectoryThatCannotBeTrustedCarriesNoPayload) {
  const Bytes stub = TextBytes("MZ stub");
  LayoutMember a{"a.txt", TextBytes("alpha")};
  Bytes good = LayOut(stub, {a});
  Bytes longName = LayOut(stub, {a});
  // Name length 1000 in the last record (the 4 bytes before count).
  PutU32LE(longName.data() + longName.size() - 22, 1000);
  Bytes reachesBefore = LayOut(stub, {a});
  PutU32LE(reachesBefore.data() + reachesBefore.size() - 22, 990);
  Bytes notLast = good;
  notLast.push_back(0);

  const struct {
    const char* what;
    Bytes file;
    int result;
  } cases[] = {
      {"plain program", stub, kArchiveNoPayload},
      {"empty file", {}, kArchiveNoPayload},
      {"version 1.09", LayOut(stub, {a}, std::nullopt, "1.09"), kArchiveNoPayload},
      {"marker not at the end", notLast, kArchiveNoPayload},
      {"count 0", LayOut(stub, {}), kArchiveEmpty},
      {"count 257", LayOut(stub, {a}, 257), kArchiveNoPayload},
      {"count -1", LayOut(stub, {a}, -1), kArchiveNoPayload},
      {"count 2, one record", LayOut(Bytes(), {a}, 2), kArchiveNoPayload},
      {"name length 1000", longName, kArchiveNoPayload},
      {"directory before the start", reachesBefore, kArchiveNoPayload},
      {"trailer only", LayOut(Bytes(), {}, 1), kArchiveNoPayload},
      {"good", good, kArchiveOk},
  };
  ScratchDir dir("hostile"), out("hostileout");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = dir.Write("x.exe", c.file);
    PayloadArchive reader;
    EXPECT_EQ(reader.ReadDirectory(path), c.result);
    if (c.result != kArchiveOk) {
      EXPECT_EQ(reader.Count(), 0);
    }
    EXPECT_EQ(reader.ExtractAllFrom(path, out.Path(), nullptr, 0), c.result);
  }
  EXPECT_EQ(out.EntryCount(), 1u);  // only the good file's member
  PayloadArchive reader;
  EXPECT_EQ(reader.ReadDirectory(dir.File("missing.exe")), kArchiveCannotOpen);
}

TEST(PayloadArchive, HostileMembersFailAloneAndLeaveNothingBehind) {
  const Bytes stub = TextBytes("MZ");
  Bytes good = TextBytes("good member");
  const struct {
    const char* what;
    LayoutMember bad;
  } cases[] = {
      {"dot dot", {"..", good}},
      {"dot", {".", good}},
      {"parent path", {"..\\evil.txt", good}},
      {"slash path", {"../evil.txt", good}},
      {"drive", {"C:evil.txt", good}},
      {"empty name", {"", good}},
      {"device", {"nul.txt", good}},
      {"device with a blank", {"con .txt", good}},
      {"line break", {"a\rb.txt", good}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir("bad"), out("badout");
    // Members on both sides of the bad one still arrive.
    std::string path = dir.Write(
        "x.exe", LayOut(stub, {{"first.ini", good}, c.bad, {"last.txt", good}}));
    PayloadArchive reader;
    std::vector<Event> events;
    EXPECT_EQ(reader.ExtractAllFrom(path, out.Path(), Record, To(&events)), kArchiveWriteFailed);
    EXPECT_EQ(ReadBytes(out.File("first.ini")), good);
    EXPECT_EQ(ReadBytes(out.File("last.txt")), good);
    EXPECT_EQ(out.EntryCount(), 2u);
    EXPECT_EQ(dir.EntryCount(), 1u);
    int done = 0;
    for (const Event& e : events) done += e.code == kArchiveEventDone;
    EXPECT_EQ(done, 2);
  }
}

// A directory that does not agree with the streams, or a stream that does not agree with its
// record, is a damaged installer: nothing of it is extracted, no old file is touched, even one
// that a sound member before the damaged one would replace.
TEST(PayloadArchive, DamagedInstallersExtractNothing) {
  const Bytes stub = TextBytes("MZ stub");
  std::vector<LayoutMember> members;
  for (const char* name : {"instcfg.ini", "a_build.bmp", "aPreview.bmp", "licence.txt", "back.jpg",
                           "tick.wav", "flash.ocx", "clock.swf"})
    members.push_back({name, RandomBytes(3000 + members.size() * 1000, members.size())});
  const Bytes whole = LayOut(stub, members);
  ScratchDir dir("damaged"), out("damagedout");
  const Bytes old = TextBytes("from the last install");
  out.Write("clock.swf", old);
  out.Write("last.txt", old);
  auto expectDamaged = [&](const Bytes& file, const std::string& what) {
    SCOPED_TRACE(what);
    std::string path = dir.Write("x.exe", file);
    PayloadArchive reader;
    EXPECT_EQ(reader.ExtractAllFrom(path, out.Path(), nullptr, 0), kArchiveNoPayload);
    EXPECT_EQ(out.EntryCount(), 2u);
    EXPECT_EQ(ReadBytes(out.File("clock.swf")), old);
    EXPECT_EQ(ReadBytes(out.File("last.txt")), old);
  };

  for (std::int32_t count = 1; count < 8; ++count)
    expectDamaged(LayOut(stub, members, count), "count " + std::to_string(count));
  // Every bit of every packed size and offset flipped.
  std::size_t record = whole.size() - 18;
  for (int i = 7; i >= 0; --i) {
    record -= 16 + members[i].name.size();
    for (std::size_t field : {std::size_t(0), std::size_t(8)}) {
      for (int bit = 0; bit < 32; ++bit) {
        Bytes file = whole;
        file[record + field + bit / 8] ^= static_cast<unsigned char>(1 << (bit % 8));
        expectDamaged(file, members[i].name + (field ? " csize" : " offset") + " bit " +
                                std::to_string(bit));
      }
    }
  }

  const Bytes movie = RandomBytes(20000, 5);
  Bytes corrupt = testing::Deflate(movie);
  corrupt[corrupt.size() / 2] ^= 0x55;
  Bytes cut = testing::Deflate(movie);
  cut.resize(cut.size() / 2);
  Bytes padded = testing::Deflate(movie);
  padded.push_back(0);
  const struct {
    const char* what;
    LayoutMember bad;
  } streams[] = {
      {"corrupt stream", {"movie.swf", movie, corrupt}},
      {"stream ends after its packed size", {"movie.swf", movie, cut}},
      {"stream ends before its packed size", {"movie.swf", movie, padded}},
      {"usize too small", {"movie.swf", movie, {}, 19999}},
      {"usize too large", {"movie.swf", movie, {}, 20001}},
  };
  for (const auto& c : streams)
    expectDamaged(LayOut(stub, {{"first.ini", TextBytes("x")}, c.bad, {"last.txt", TextBytes("y")}}),
                  c.what);
}

TEST(PayloadArchive, LowerNumberedOfTwoAlikeNamesSurvives) {
  ScratchDir dir("dup"), out("dupout");
  std::string path = dir.Write(
      "x.exe", LayOut(TextBytes("MZ"), {{"same.txt", TextBytes("first")},
                                        {"same.txt", TextBytes("second")}}));
  PayloadArchive reader;
  ASSERT_EQ(reader.ExtractAllFrom(path, out.Path(), nullptr, 0), kArchiveOk);
  EXPECT_EQ(ReadBytes(out.File("same.txt")), TextBytes("first"));
}

TEST(PayloadArchive, ExtractionIntoAMissingFolderFailsEveryMember) {
  ScratchDir dir("nofolder");
  std::string path = dir.Write("x.exe", LayOut(TextBytes("MZ"), {{"a", TextBytes("a")}}));
  PayloadArchive reader;
  std::vector<Event> events;
  EXPECT_EQ(reader.ExtractAllFrom(path, dir.File("missing"), Record, To(&events)),
            kArchiveWriteFailed);
  EXPECT_EQ(Sequence(events), std::vector<std::string>{"1000 a"});
}

TEST(ArchivePercentage, SwitchesFormAboveTenMillion) {
  const struct {
    std::uint32_t done, total;
    int percent;
  } cases[] = {
      {0, 0, 100},
      {5, 0, 100},
      {1, 3, 33},
      {9999999, 10000000, 99},
      {10000000, 10000001, 100},  // done / (total / 100): 10000000 / 100000
      {9999999, 10000001, 99},
      {3000000000u, 4000000000u, 75},  // done * 100 would overflow
      {4294967295u, 4294967295u, 100},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ArchivePercentage(c.done, c.total), c.percent) << c.done << "/" << c.total;
}

TEST(ArchiveFormat, MemberNames) {
  for (const char* good : {"a", "movie.swf", "Uninstall.ini", "..a", "a b.txt"})
    EXPECT_TRUE(IsValidMemberName(good)) << good;
  for (const char* bad : {"", ".", "..", "a\\b", "a/b", "c:", "dir\\"})
    EXPECT_FALSE(IsValidMemberName(bad)) << bad;
  EXPECT_TRUE(IsValidMemberName(std::string(999, 'n')));
  EXPECT_FALSE(IsValidMemberName(std::string(1000, 'n')));

  // What Windows can create as a plain file in any folder.
  for (const char* good : {"a", "movie.swf", "console.txt", "com10.txt", "lpt0", "a.b c", "nul_"})
    EXPECT_TRUE(IsWindowsFileName(good)) << good;
  for (const char* bad : {"con", "CON.swf", "nul .txt", "aux  ", "Com1.ini", "lpt9.", "prn.a.b",
                          "a?.swf", "a*b", "x\"y", "<a>", "a|b", "tab\there", "dot.", "blank "})
    EXPECT_FALSE(IsWindowsFileName(bad)) << bad;
}

}  // namespace
}  // namespace zarvane

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zarvane {
namespace {

// A full disk: for the writer a link to /dev/full where the installer goes (the link is what a
// failed write may remove, never the device); for extraction the system's limit on file size in
// a child process, so that writes fail part way as on a full disk, without mounting anything.
TEST(PayloadArchive, FullDiskIsAFailureAndLeavesTheOldFile) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ScratchDir dir("full"), out("fullout");
  PayloadArchive writer;
  const Bytes movie = RandomBytes(300000, 8);
  ASSERT_TRUE(writer.AddFile(dir.Write("movie.swf", movie)));
  std::filesystem::create_symlink("/dev/full", dir.File("setup.exe"));
  EXPECT_EQ(writer.WriteInstaller(kStubResourceId, dir.File("setup.exe"), nullptr, 0),
            kArchiveWriteFailed);
  EXPECT_TRUE(std::filesystem::exists("/dev/full"));

  std::string installer = dir.File("real.exe");
  ASSERT_EQ(writer.WriteInstaller(kStubResourceId, installer, nullptr, 0), kArchiveOk);
  const Bytes old = TextBytes("the movie of the last install");
  out.Write("movie.swf", old);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{100000, 100000};
    setrlimit(RLIMIT_FSIZE, &limit);
    PayloadArchive reader;
    std::vector<Event> events;
    int result = reader.ExtractAllFrom(installer, out.Path(), Record, To(&events));
    bool announcedOnly = Sequence(events) == std::vector<std::string>{"1000 movie.swf"};
    _exit(result == kArchiveWriteFailed && announcedOnly ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "1005 and no done event";
  EXPECT_EQ(ReadBytes(out.File("movie.swf")), old);
  EXPECT_EQ(out.EntryCount(), 1u) << "no part-written file beside it";

  PayloadArchive reader;
  ASSERT_EQ(reader.ExtractAllFrom(installer, out.Path(), nullptr, 0), kArchiveOk);
  EXPECT_EQ(ReadBytes(out.File("movie.swf")), movie);
}

#if defined(__SANITIZE_ADDRESS__)
#define ADDRESS_SANITIZED
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ADDRESS_SANITIZED
#endif
#endif

// A system that will not start another thread (here: no address space left for a thread's
// stack) still gets the installer a single thread writes, not an ended program.
TEST(PayloadArchive, NoThreadToSpareStillBuildsTheSameInstaller) {
#ifdef ADDRESS_SANITIZED
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#endif
  ScratchDir dir("nothread");
  PayloadArchive writer;
  writer.SetCompressionThreads(1);
  ASSERT_TRUE(writer.AddFile(dir.Write("movie.swf", RandomBytes(700000, 3))));
  ASSERT_TRUE(writer.AddFile(dir.Write("page.txt", Bytes(900000, 'w'))));
  ASSERT_EQ(writer.WriteInstaller(kStubResourceId, dir.File("one.exe"), nullptr, 0), kArchiveOk);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    alarm(60);  // a writer stuck on a worker that never came is a failure too
    long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
      std::fclose(statm);
    }
    // Room for the pieces and zlib, none for a thread's 8 MiB stack.
    const rlim_t room = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + 6 * 1024 * 1024;
    rlimit limit{room, room};
    if (pages == 0 || setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
    writer.SetCompressionThreads(2);
    _exit(writer.WriteInstaller(kStubResourceId, dir.File("two.exe"), nullptr, 0) == kArchiveOk ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(ReadBytes(dir.File("two.exe")) == ReadBytes(dir.File("one.exe")));
}

}  // namespace
}  // namespace zarvane
#endif
