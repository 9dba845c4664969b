#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "archive_test_util.h"
#include "cli_command.h"
#include "code_page.h"
#include "compiled_in_stub.h"
#include "payload_archive.h"
#include "project_check.h"
#include "stub_resource.h"
#include "zarvane_version.h"

namespace zarvane {
namespace {

using testing::Bytes;
using testing::LayOut;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::TextBytes;

struct CliRun {
  int exit;
  std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
  std::ostringstream out, err;
  int exit = RunCli(args, out, err);
  return {exit, out.str(), err.str()};
}

TEST(Cli, HelpAndUsageErrors) {
  CliRun help = Cli({"--help"});
  EXPECT_EQ(help.exit, 0);
  for (const CliCommand* const* c = kCliCommands; *c; ++c) {
    SCOPED_TRACE((*c)->name);
    EXPECT_NE(help.out.find((*c)->name), std::string::npos);
    for (const std::vector<std::string>& asked :
         {std::vector<std::string>{(*c)->name, "--help"}, {"help", (*c)->name}}) {
      CliRun own = Cli(asked);
      EXPECT_EQ(own.exit, 0);
      EXPECT_EQ(own.out.rfind(std::string("usage: zarvane-cli ") + (*c)->name, 0), 0u);
    }
    CliRun tooMany = Cli({(*c)->name, "a", "b", "c", "d", "e", "f"});
    EXPECT_EQ(tooMany.exit, kExitUsage);
    EXPECT_TRUE(tooMany.out.empty());
    EXPECT_NE(tooMany.err.find("usage: zarvane-cli"), std::string::npos);
  }
  EXPECT_EQ(Cli({}).exit, kExitUsage);
  CliRun unknown = Cli({"frobnicate"});
  EXPECT_EQ(unknown.exit, kExitUsage);
  EXPECT_NE(unknown.err.find("unknown command \"frobnicate\""), std::string::npos);
  EXPECT_EQ(Cli({"list"}).exit, kExitUsage);
  EXPECT_EQ(Cli({"extract", "only-one"}).exit, kExitUsage);
  EXPECT_EQ(Cli({"swf-colour"}).exit, kExitUsage);
}

TEST(Cli, ListAndExtract) {
  ScratchDir dir("cli"), out("cliout");
  Bytes stub = TextBytes("MZ stub bytes");
  std::string good = dir.Write(
      "good.exe", LayOut(stub, {{"instcfg.ini", TextBytes("[I]\r\n")}, {"m.swf", Bytes(5000, 7)}}));
  CliRun list = Cli({"list", good});
  EXPECT_EQ(list.exit, 0);
  PayloadArchive a;
  ASSERT_EQ(a.ReadDirectory(good), kArchiveOk);
  EXPECT_EQ(list.out, "0\t13\t5\t" + std::to_string(a.Member(0).csize) + "\tinstcfg.ini\n1\t" +
                          std::to_string(13 + a.Member(0).csize) + "\t5000\t" +
                          std::to_string(a.Member(1).csize) + "\tm.swf\n");
  EXPECT_EQ(Cli({"extract", good, out.Path()}).exit, 0);
  EXPECT_EQ(ReadBytes(out.File("m.swf")), Bytes(5000, 7));
  // A file of a member's name goes only with --overwrite, which names each one it replaced.
  out.Write("m.swf", TextBytes("mine"));
  CliRun kept = Cli({"extract", good, out.Path()});
  EXPECT_EQ(kept.exit, kExitFailure);
  EXPECT_NE(kept.err.find("already holds \"instcfg.ini\", \"m.swf\"; nothing extracted"),
            std::string::npos) << kept.err;
  EXPECT_EQ(ReadBytes(out.File("m.swf")), TextBytes("mine"));
  CliRun replaced = Cli({"extract", good, out.Path(), "--overwrite"});
  EXPECT_EQ(replaced.exit, 0) << replaced.err;
  EXPECT_EQ(replaced.out, "replaced " + out.Path() + "/m.swf\nreplaced " + out.Path() +
                              "/instcfg.ini\n");
  EXPECT_EQ(ReadBytes(out.File("m.swf")), Bytes(5000, 7));
  EXPECT_EQ(out.EntryCount(), 2u);
  EXPECT_EQ(Cli({"extract", good, out.File("new/nested")}).exit, 0);
  EXPECT_EQ(ReadBytes(out.File("new/nested/m.swf")), Bytes(5000, 7));

  const struct {
    const char* what;
    std::vector<std::string> args;
    const char* reason;
  } failures[] = {
      {"list missing", {"list", dir.File("none.exe")}, ": no such file\n"},
      {"list plain file", {"list", dir.Write("plain.exe", stub)}, ": not an installer (no Zarvane signature"},
      {"list empty archive", {"list", dir.Write("empty.exe", LayOut(stub, {}))}, "holds no members"},
      {"extract into a file", {"extract", good, dir.Write("file", stub)}, "cannot make the folder"},
      {"extract bad member",
       {"extract", dir.Write("bad.exe", LayOut(stub, {{"instcfg.ini", TextBytes("x")}, {"..", TextBytes("y")}})),
        out.Path()},
       "member \"..\" failed"},
      {"extract without payload", {"extract", dir.File("plain.exe"), out.Path()}, ": not an installer"},
      {"extract over the installer itself",
       {"extract", dir.Write("self.ini", LayOut(stub, {{"self.ini", TextBytes("x")}})), dir.Path()},
       "would replace the installer itself"},
      {"mistyped command", {"lsit", good}, "unknown command \"lsit\"; did you mean \"list\"?"},
      {"unknown code page", {"list", good, "--codepage", "9999"}, "code page 9999 is unknown"},
      {"code page no program's names use", {"list", good, "--codepage", "65001"}, "code page 65001 (UTF-8) is not one"},
  };
  for (const auto& f : failures) {
    SCOPED_TRACE(f.what);
    CliRun r = Cli(f.args);
    EXPECT_NE(r.exit, kExitOk);
    EXPECT_NE(r.err.find(f.reason), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err.find("(100"), std::string::npos) << "a bare result number: " << r.err;
  }

  CliRun forged = Cli({"list", dir.Write("forged.exe", LayOut(stub, {{"a\n9\t0\t0\t0\tb", {}}}))});
  EXPECT_EQ(forged.out, "0\t13\t0\t8\ta\\x0a9\\x090\\x090\\x090\\x09b\n");
}

// A damaged installer is told from a whole one, whatever part of it is damaged, and extract
// agrees: by default it extracts nothing from it, with --keep-going every member that is whole.
TEST(Cli, VerifyAndExtractAgreeOnDamage) {
  ScratchDir dir("cliverify"), out("cliverifyout");
  RegisterCompiledInStub();
  StubBytes carried;
  ASSERT_TRUE(FindStubResource(kStubResourceId, &carried));
  const Bytes program(carried.data, carried.data + carried.size);
  const Bytes config = TextBytes("[Movie]\r\nSWFFile=m.swf\r\n");
  const Bytes good = LayOut(program, {{"instcfg.ini", config}, {"m.swf", Bytes(5000, 7)}});
  PayloadArchive a;
  ASSERT_EQ(a.ReadDirectory(dir.Write("good.exe", good)), kArchiveOk);
  Bytes flipped = good;
  flipped[a.Member(1).offset + a.Member(1).csize / 2] ^= 0x10;
  const Bytes renamed = LayOut(program, {{"instcfg.ini", config}, {"m.swg", Bytes(5000, 7)}});
  Bytes count = good;
  count[count.size() - 18] = 3;

  for (const char* command : {"verify", "test"}) {
    SCOPED_TRACE(command);
    CliRun whole = Cli({command, dir.File("good.exe")});
    EXPECT_EQ(whole.exit, kExitOk) << whole.err;
    EXPECT_EQ(whole.out.rfind("ok\tinstcfg.ini\nok\tm.swf\nprogram\tthis version's", 0), 0u) << whole.out;
    EXPECT_NE(whole.out.find("\n2 members: whole\n"), std::string::npos) << whole.out;
    const struct {
      const char* what;
      Bytes file;
      const char* reason;
      bool extractsSome;
    } damaged[] = {
        {"a bit flipped in a stream", flipped, "member 1 (m.swf) damaged", true},
        {"a bit flipped in a name", renamed, "directory damaged: \"instcfg.ini\" names \"m.swf\"", true},
        {"a count changed", count, "directory damaged", false},
    };
    for (const auto& d : damaged) {
      SCOPED_TRACE(d.what);
      CliRun r = Cli({command, dir.Write("bad.exe", d.file)});
      EXPECT_EQ(r.exit, kExitFailure);
      EXPECT_EQ(r.err.rfind("zarvane-cli: " + dir.File("bad.exe") + ": " + d.reason, 0), 0u) << r.err;
      std::filesystem::remove_all(out.Path());
      std::filesystem::create_directories(out.Path());
      CliRun all = Cli({"extract", dir.File("bad.exe"), out.Path()});
      EXPECT_EQ(all.exit, kExitFailure);
      EXPECT_NE(all.err.find(d.reason), std::string::npos) << all.err;
      EXPECT_EQ(out.EntryCount(), 0u);
      CliRun some = Cli({"extract", dir.File("bad.exe"), out.Path(), "--keep-going"});
      EXPECT_EQ(some.exit, kExitFailure);
      EXPECT_EQ(std::filesystem::exists(out.File("instcfg.ini")), d.extractsSome) << some.err;
    }
  }
}

// Messages name the file first and say why it could not be opened; a project's check names the
// key at fault and the path it resolved to.
TEST(Cli, MessagesNameTheFile) {
  ScratchDir dir("climessages");
  dir.Write("p.zvp", TextBytes("[ScreenSaver]\r\nName=Clock\r\n[Movie]\r\nSWFFile=gone.swf\r\n"
                               "[Installer]\r\nInstallerFilePath=C.exe\r\n"));
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"build", dir.File("none.zvp")}, "zarvane-cli: " + dir.File("none.zvp") + ": no such file\n"},
      {{"page", dir.Path()}, "zarvane-cli: " + dir.Path() + ": is a folder\n"},
      {{"build", dir.File("p.zvp")},
       "zarvane-cli: " + dir.File("p.zvp") + ": [Movie] SWFFile '" + dir.File("gone.swf") +
           "': Flash movie file path is invalid. Check if the file/folder exists.\n"},
  };
  for (const auto& c : cases) {
    CliRun r = Cli(c.args);
    EXPECT_EQ(r.exit, kExitFailure);
    EXPECT_EQ(r.err, c.err);
  }
  CliRun version = Cli({"--version"});
  EXPECT_EQ(version.exit, kExitOk);
  EXPECT_EQ(version.out, "zarvane-cli " ZARVANE_VERSION_TEXT "\n");
}

// Every value reading would replace by another is reported, and only those.
TEST(Cli, CheckReportsSilentReplacements) {
  ScratchDir dir("clicheck");
  dir.Write("clock.swf", TextBytes("FWS movie"));
  const std::string clean =
      "[ScreenSaver]\r\nName=Clock\r\n[Movie]\r\nSWFFile=clock.swf\r\nMovieSize=exactfit\r\n"
      "Quality=best\r\nHAlign=Left\r\nVAlign=Top\r\nMovieBkgColor=A0b0C0\r\nMovieBkgSet=1\r\n"
      "[Wallpaper]\r\nAlign=Tile\r\n[Installer]\r\nInstallerFilePath=Clock Setup.exe\r\n";
  CliRun good = Cli({"check", dir.Write("clean.zvp", TextBytes(clean))});
  EXPECT_EQ(good.exit, kExitOk) << good.err;
  EXPECT_EQ(good.err, "");

  const struct {
    const char* from;
    const char* to;
    const char* warning;
  } replacements[] = {
      {"MovieSize=exactfit", "MovieSize=fit", "[Movie] MovieSize 'fit' is not a size keyword; read as 'noscale'"},
      {"Quality=best", "Quality=Hgh", "[Movie] Quality 'Hgh' is not a quality; read as 'High'"},
      {"HAlign=Left", "HAlign=Centre", "[Movie] HAlign 'Centre' is not a horizontal alignment"},
      {"VAlign=Top", "VAlign=Middle", "[Movie] VAlign 'Middle' is not a vertical alignment"},
      {"Align=Tile", "Align=Tiled", "[Wallpaper] Align 'Tiled' is not a background position"},
      {"MovieBkgColor=A0b0C0", "MovieBkgColor=#ff0000", "[Movie] MovieBkgColor '#ff0000' is not six hex digits"},
      {"MovieBkgSet=1", "MovieBkgSet=1\r\nLoops=3", "[Movie] Loops is not a project key"},
      {"MovieBkgSet=1", "MovieBkgSet=1\r\nMute=1", "[Movie] Mute '1' has no effect"},
  };
  for (const auto& r : replacements) {
    SCOPED_TRACE(r.to);
    std::string text = clean;
    text.replace(text.find(r.from), std::string(r.from).size(), r.to);
    CliRun bad = Cli({"check", dir.Write("bad.zvp", TextBytes(text))});
    EXPECT_EQ(bad.exit, kExitFailure);
    EXPECT_EQ(bad.err.rfind("zarvane-cli: " + dir.File("bad.zvp") + ": warning: " + r.warning, 0), 0u)
        << bad.err;
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
  }

  // A refusal is a problem too; without an installer path the installer goes beside the project.
  CliRun refused = Cli({"check", dir.Write("nameless.zvp", TextBytes("[Movie]\r\nSWFFile=clock.swf\r\n"))});
  EXPECT_EQ(refused.exit, kExitFailure);
  EXPECT_NE(refused.err.find("[ScreenSaver] Name ''"), std::string::npos) << refused.err;
  CliRun placed = Cli({"check", dir.Write("placed.zvp", TextBytes("[ScreenSaver]\r\nName=Clock\r\n"
                                                                  "[Movie]\r\nSWFFile=clock.swf\r\n"))});
  EXPECT_NE(placed.err.find("as '" + dir.File("Clock Setup.exe") + "'"), std::string::npos) << placed.err;
  EXPECT_NE(placed.err.find("Build Now refuses that"), std::string::npos) << placed.err;

  // What the build itself refuses once every tab passed, and a file that is no project.
  for (const char* folder : {"a", "b"}) {
    std::filesystem::create_directories(dir.File(folder));
    dir.Write(std::string(folder) + "/x.txt", TextBytes(folder));
  }
  const struct {
    std::string project, says;
  } refusals[] = {
      {std::string(clean).replace(clean.find("MovieBkgSet=1"), 13,
                                  "MovieBkgSet=1\r\nResourceFiles=a\\x.txt;b\\x.txt"),
       "the same name in the installer"},
      {"[ScreenSaver]\r\nName=Clock\r\n[Movie]\r\nSWFFile=clock.swf\r\n[Installer]\r\n"
       "InstallerFilePath=clock.swf\r\n",
       "It is one of the files the installer is built from"},
  };
  for (const auto& r : refusals) {
    CliRun built = Cli({"check", dir.Write("refused.zvp", TextBytes(r.project))});
    EXPECT_EQ(built.exit, kExitFailure);
    EXPECT_NE(built.err.find(r.says), std::string::npos) << built.err;
  }
  CliRun movie = Cli({"check", dir.Write("m.swf", Bytes{'F', 'W', 'S', 6, 0, 0, 0, 0x78, 0, 5})});
  EXPECT_EQ(movie.exit, kExitFailure);
  EXPECT_EQ(movie.err, "zarvane-cli: " + dir.File("m.swf") + ": not a project file (it is not text)\n");
}

#ifndef _WIN32
std::vector<ProjectKey> DocumentedKeys() {
  std::ifstream page(ZARVANE_SOURCE_DIR "/docs/project-file.md");
  std::vector<ProjectKey> documented;
  std::string line, section;
  while (std::getline(page, line)) {
    if (line.rfind("## `[", 0) == 0) section = line.substr(5, line.find(']') - 5);
    if (line.rfind("| `", 0) == 0) documented.emplace_back(section, line.substr(3, line.find('`', 3) - 3));
  }
  return documented;
}

// The page for people who write projects by hand names every key the reader reads.
TEST(Cli, ProjectFilePageNamesEveryKeyTheReaderReads) {
  std::vector<ProjectKey> documented = DocumentedKeys();
  ASSERT_FALSE(documented.empty());
  for (const ProjectKey& key : KeysTheReaderReads()) {
    EXPECT_NE(std::find(documented.begin(), documented.end(), key), documented.end())
        << "[" << key.first << "] " << key.second << " is missing from docs/project-file.md";
  }
}

// Every documented key whose value reading can replace or pass by warns of a wrong value.
TEST(Cli, CheckWarnsOfAWrongValueInEveryDocumentedKey) {
  ScratchDir dir("clicheckkeys");
  dir.Write("clock.swf", TextBytes("FWS movie"));
  const std::vector<ProjectKey> takenAsTheyStand = {
      {"ScreenSaver", "Name"},  {"Movie", "SWFFile"},         {"Movie", "ResourceFiles"},
      {"Wallpaper", "BackImage"}, {"Wallpaper", "PrevMon"},   {"Wallpaper", "StillImage"},
      {"Installer", "MovieOrImageFile"},
      {"Installer", "LicenseFile"}, {"Installer", "InstallerFilePath"}};
  const std::vector<std::pair<ProjectKey, std::string>> wrong = {
      {{"Movie", "Mute"}, "on"},          {{"Movie", "Loop"}, "yes"},
      {{"Movie", "Loop"}, "1"},           {{"Movie", "HAlign"}, "Middle"},
      {{"Movie", "VAlign"}, "Middle"},    {{"Movie", "Quality"}, "Ultra"},
      {{"Movie", "MovieSize"}, "fit"},    {{"Movie", "MovieBkgColor"}, "red"},
      {{"Movie", "MovieBkgSet"}, "0"},    {{"Wallpaper", "Align"}, "Left"},
      {{"Preview", "ShowMovie"}, "no"},   {{"Preview", "ImageFile"}, "old.bmp"},
      {{"SettingsBox", "ShowMovie"}, "1"}, {{"Installer", "ShowMovie"}, "yes"},
      {{"Installer", "FlashControl"}, "2"}, {{"Installer", "Name"}, "Other"}};
  for (const ProjectKey& key : DocumentedKeys()) {
    SCOPED_TRACE("[" + key.first + "] " + key.second);
    if (std::find(takenAsTheyStand.begin(), takenAsTheyStand.end(), key) != takenAsTheyStand.end())
      continue;
    bool tried = false;
    for (const auto& w : wrong) {
      if (w.first != key) continue;
      tried = true;
      std::map<std::string, std::string> sections = {{"ScreenSaver", "Name=Clock\r\n"},
                                                     {"Movie", "SWFFile=clock.swf\r\n"},
                                                     {"Installer", "InstallerFilePath=C.exe\r\n"}};
      sections[key.first] += key.second + "=" + w.second + "\r\n";
      std::string text;
      for (const auto& section : sections) text += "[" + section.first + "]\r\n" + section.second;
      CliRun r = Cli({"check", dir.Write("k.zvp", TextBytes(text))});
      EXPECT_EQ(r.exit, kExitFailure);
      EXPECT_NE(r.err.find(": warning: [" + key.first + "] " + key.second + " '" + w.second + "'"),
                std::string::npos) << r.err;
    }
    EXPECT_TRUE(tried) << "no wrong value tried for a documented key";
  }
}
#endif

// Only well-formed UTF-8 is converted; code page bytes are taken as they are.
TEST(Cli, CodePageConversion) {
  EXPECT_TRUE(IsUtf8BeyondAscii("Gr\xC3\xBC\xC3\x9F" "e"));
  EXPECT_TRUE(IsUtf8BeyondAscii("\xEF\xBB\xBFName=\xE2\x82\xAC"));
  for (const char* notUtf8 : {"plain ascii", "Gr\xFC\xDF" "e", "\xC0\xAF", "\xED\xA0\x80",
                              "cut \xC3", "\xF4\x90\x80\x80"}) {
    EXPECT_FALSE(IsUtf8BeyondAscii(notUtf8)) << notUtf8;
  }
  std::string out;
  EXPECT_TRUE(Utf8ToCodePage("\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC", 1252, out));
  EXPECT_EQ(out, "Gr\xFC\xDF" "e \x80");
  EXPECT_FALSE(Utf8ToCodePage("Gr\xC5\x82" "e", 1252, out));  // no best fit: not "Grle"
  EXPECT_TRUE(Utf8ToCodePage("Gr\xC5\x82" "e", 1250, out));
  EXPECT_EQ(out, "Gr\xB3" "e");

  ScratchDir dir("clicodepage");
  dir.Write("clock.swf", TextBytes("FWS movie"));
  const std::string project = "[Movie]\r\nSWFFile=clock.swf\r\n[Installer]\r\nInstallerFilePath=G.exe\r\n"
                              "[ScreenSaver]\r\nName=";
  CliRun page = Cli({"page", dir.Write("u.zvp", TextBytes(project + "Gr\xC3\xBC\xC3\x9F" "e\r\n"))});
  EXPECT_EQ(page.exit, kExitOk) << page.err;
  EXPECT_NE(page.out.find("VALUE=\"Gr\xFC\xDF" "e\\clock.swf\""), std::string::npos) << page.out;
  CliRun asIs = Cli({"page", dir.Write("c.zvp", TextBytes(project + "Gr\xFC\xDF" "e\r\n"))});
  EXPECT_EQ(asIs.out, page.out);
  CliRun refused = Cli({"build", dir.Write("l.zvp", TextBytes(project + "Gr\xC5\x82" "e\r\n"))});
  EXPECT_EQ(refused.exit, kExitFailure);
  EXPECT_NE(refused.err.find("[ScreenSaver] Name: 'Gr\xC5\x82" "e' has a character that code page 1252 cannot hold"),
            std::string::npos) << refused.err;
}

// Names that come out of an installer or a project reach the terminal with their control
// characters escaped, by every command; no command writes over the project it reads.
TEST(Cli, NamesFromFilesAreShownEscapedAndProjectsKept) {
  ScratchDir dir("cliescape"), out("cliescapeout");
  const std::string hostile = "a\rb\x1b[2J\x7f.txt", shown = "a\\x0db\\x1b[2J\\x7f.txt";
  std::string installer =
      dir.Write("x.exe", LayOut(TextBytes("MZ"), {{"ok.txt", TextBytes("x")}, {hostile, TextBytes("y")}}));
  EXPECT_EQ(Cli({"list", installer}).out.find('\r'), std::string::npos);
  CliRun extract = Cli({"extract", installer, out.Path(), "--keep-going"});
  EXPECT_EQ(extract.exit, kExitFailure);
  EXPECT_NE(extract.err.find("member 1 (" + shown + ") could not be written"), std::string::npos)
      << extract.err;

#ifndef _WIN32
  // A movie whose name no Windows can create stops the build, which names it.
  RegisterCompiledInStub();
  dir.Write("clock\x1b.swf", TextBytes("FWS movie"));
  dir.Write("p.zvp", TextBytes("[ScreenSaver]\r\nName=Clock\r\n[Movie]\r\nSWFFile=clock\x1b.swf\r\n"
                               "[Installer]\r\nFlashControl=1\r\nInstallerFilePath=Clock Setup.exe\r\n"));
  CliRun build = Cli({"build", dir.File("p.zvp")});
  EXPECT_EQ(build.exit, kExitFailure);
  EXPECT_NE(build.err.find("clock\\x1b.swf'.\nWindows cannot create"), std::string::npos) << build.err;
  EXPECT_EQ(build.err.find('\x1b'), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("Clock Setup.exe")));
#endif

  // The page is never written over the project it comes from.
  dir.Write("clock.swf", TextBytes("FWS movie"));
  const Bytes project = TextBytes("[ScreenSaver]\r\nName=Clock\r\n[Movie]\r\nSWFFile=clock.swf\r\n");
  dir.Write("p.zvp", project);
  EXPECT_EQ(Cli({"page", dir.File("p.zvp"), "-o", dir.File("P.ZVP")}).exit, kExitFailure);
  EXPECT_EQ(Cli({"page", dir.File("p.zvp"), "-o", dir.File("clock.swf")}).exit, kExitFailure);
  EXPECT_EQ(ReadBytes(dir.File("clock.swf")), TextBytes("FWS movie"));
  EXPECT_EQ(Cli({"page", dir.File("p.zvp"), "-o", dir.File("Clock.htm")}).exit, kExitOk);
  EXPECT_EQ(ReadBytes(dir.File("p.zvp")), project);
}

TEST(Cli, SwfColour) {
  ScratchDir dir("clicolour");
  auto movie = [](std::vector<unsigned char> tags) {
    Bytes m = {'F', 'W', 'S', 6, 0, 0, 0, 0, 0x78, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x18, 1, 0};
    m.insert(m.end(), tags.begin(), tags.end());
    m[4] = static_cast<unsigned char>(m.size());
    return m;
  };
  const struct {
    Bytes file;
    int exit;
    const char* out;
    const char* err;
  } cases[] = {
      {movie({0x43, 0x02, 0x33, 0x66, 0x99, 0, 0}), 0, "336699\n", ""},
      {movie({0x43, 0x02, 0xAB, 0x0C, 0xEF, 0, 0}), 0, "ab0cef\n", ""},
      {movie({0x40, 0, 0, 0}), 0, "none\n", ""},
      {movie({0x43, 0x02, 0x33}), 1, "", "runs past"},
      {TextBytes("CWS\x06 compressed body"), 1, "", "not an uncompressed"},
  };
  for (const auto& c : cases) {
    CliRun r = Cli({"swf-colour", dir.Write("m.swf", c.file)});
    EXPECT_EQ(r.exit, c.exit);
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  EXPECT_EQ(Cli({"swf-colour", dir.File("missing.swf")}).exit, kExitFailure);
}

// The installer program this tool packs is the real one of the Windows build. A build given none
// packs a stand-in that keeps it going; its installers do not run, so the test says it skipped.
TEST(Cli, CarriesTheInstallerProgram) {
  RegisterCompiledInStub();
  StubBytes stub;
  ASSERT_TRUE(FindStubResource(kStubResourceId, &stub));
  Bytes carried(stub.data, stub.data + stub.size);
  EXPECT_EQ(carried, ReadBytes(ZARVANE_CLI_STUB_FILE));
  Bytes standin = TextBytes("zarvane-installer stand-in");
  if (carried.size() >= standin.size() &&
      std::equal(standin.begin(), standin.end(), carried.begin()))
    GTEST_SKIP() << "this build carries the stand-in for zarvane-installer.exe";
  ASSERT_GT(carried.size(), 2u);
  EXPECT_TRUE(carried[0] == 'M' && carried[1] == 'Z') << "not a Windows program";
  std::string installer = ZARVANE_INSTALLER_STUB;
  if (!installer.empty()) {
    EXPECT_EQ(carried, ReadBytes(installer)) << "an older program was packed instead of " << installer;
  }
}

}  // namespace
}  // namespace zarvane
