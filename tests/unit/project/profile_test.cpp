// One sequence of profile writes and reads, run through the platform's profile and through our
// own implementation. Under Wine both must give the same bytes and values at every step; in both
// builds the transcript must match the one recorded from the Windows functions.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "profile.h"

namespace zarvane {
namespace {
namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Control characters spelled out, so the transcript is a readable text file.
std::string Visible(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\\') out += "\\\\";
    else if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else out += static_cast<char>(c);
  }
  return out;
}

struct Run {
  Profile& profile;
  fs::path folder;
  std::ostringstream log;

  std::string File(const char* name) { return (folder / name).string(); }
  void Bytes(const char* name) { log << "  " << name << ": " << Visible(ReadBytes(folder / name)) << "\n"; }
  void Read(const char* file, const char* section, const char* key, const char* fallback,
            std::size_t room = 1024) {
    std::string value = profile.ReadString(File(file), section, key, fallback, room);
    log << "  read [" << section << "] " << key << " = (" << value.size() << ") "
        << Visible(value.size() > 40 ? value.substr(0, 20) + "..." + value.substr(value.size() - 20)
                                     : value)
        << "\n";
  }
  void Int(const char* file, const char* section, const char* key, int fallback) {
    log << "  int [" << section << "] " << key << " = "
        << profile.ReadInt(File(file), section, key, fallback) << "\n";
  }
  void Write(const char* file, const char* section, const char* key, const std::string& value) {
    bool ok = profile.WriteString(File(file), section, key, value);
    log << "  write [" << section << "] " << key << " -> " << ok << "\n";
  }
  void Step(const char* title) { log << title << "\n"; }
};

std::string Transcript(Profile& profile, const fs::path& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  Run r{profile, folder, {}};

  r.Step("new file");
  r.Read("p.ini", "ScreenSaver", "Name", "none");
  r.Write("p.ini", "ScreenSaver", "Name", "Clock");
  r.Write("p.ini", "Movie", "SWFFile", "C:\\movies\\clock.swf");
  r.Write("p.ini", "Movie", "Loop", "TRUE");
  r.Bytes("p.ini");

  r.Step("replaced values keep their place and the first spelling of names");
  r.Write("p.ini", "screensaver", "NAME", "Big Clock");
  r.Write("p.ini", "MOVIE", "loop", "FALSE");
  r.Bytes("p.ini");

  r.Step("new keys in existing sections, new sections at the end");
  r.Write("p.ini", "ScreenSaver", "Extra", "1");
  r.Write("p.ini", "Wallpaper", "Align", "Tile");
  r.Write("p.ini", "Movie", "MovieSize", "showall");
  r.Bytes("p.ini");

  r.Step("letter case of names when reading");
  r.Read("p.ini", "MOVIE", "swffile", "");
  r.Read("p.ini", " Movie ", " SWFFile ", "");
  r.Read("p.ini", "Movie", "SWFFil", "fallback  ");
  r.Read("p.ini", "Missing", "Key", "");

  r.Step("blanks around values, before and after the flush");
  r.Write("p.ini", "Movie", "Quality", "  High  ");
  r.Read("p.ini", "Movie", "Quality", "");
  r.Write("p.ini", "Movie", "Mute", "0 ");
  r.Bytes("p.ini");
  r.profile.Flush(r.File("p.ini"));
  r.Read("p.ini", "Movie", "Quality", "");
  r.Write("p.ini", "Movie", "Quoted", "\"a b\"");
  r.Read("p.ini", "Movie", "Quoted", "");
  r.Read("p.ini", "Movie", "Quoted", "", 4);
  r.Read("p.ini", "Movie", "Quoted", "", 3);

  r.Step("the 1023 and 10239 cuts");
  r.Write("p.ini", "Movie", "Long", std::string(1500, 'x') + "END");
  r.Write("p.ini", "Movie", "ResourceFiles", std::string(12000, 'r') + ";");
  r.profile.Flush(r.File("p.ini"));
  r.Read("p.ini", "Movie", "Long", "");
  r.Read("p.ini", "Movie", "ResourceFiles", "", 10240);
  r.Read("p.ini", "Movie", "Long", "", 1);

  r.Step("integer keys");
  const char* numbers[] = {"42", "-7", " 12abc", "", "abc", "0x10", "007", "4294967297"};
  int i = 0;
  for (const char* n : numbers) {
    std::string key = "N" + std::to_string(i++);
    r.Write("n.ini", "Numbers", key.c_str(), n);
    r.Int("n.ini", "Numbers", key.c_str(), 5);
  }
  r.Int("n.ini", "Numbers", "Missing", 5);
  r.Int("missing.ini", "Numbers", "N0", -1);
  r.Bytes("n.ini");

  r.Step("deleting keys and sections");
  r.profile.DeleteKey(r.File("p.ini"), "Movie", "Long");
  r.profile.DeleteKey(r.File("p.ini"), "Movie", "NoSuchKey");
  r.profile.DeleteSection(r.File("p.ini"), "wallpaper");
  r.profile.Flush(r.File("p.ini"));
  r.Read("p.ini", "Wallpaper", "Align", "gone");
  r.Write("p.ini", "Movie", "ResourceFiles", "a.jpg;");
  r.Bytes("p.ini");

  r.Step("a file written by hand: LF lines, blank lines, comments, lines without =");
  WriteBytes(folder / "h.ini",
             "; a comment\n\n[Movie]\n  SWFFile = a b.swf  \nloose line\n\n\n[Empty]\n"
             "[Movie]\nHAlign=Left\n=orphan\n=second orphan\n");
  r.Read("h.ini", "Movie", "SWFFile", "");
  r.Read("h.ini", "Movie", "HAlign", "");
  r.Read("h.ini", "Movie", "loose line", "nothing");
  r.Write("h.ini", "Movie", "SWFFile", "a b.swf");
  r.Bytes("h.ini");
  r.Write("h.ini", "Movie", "VAlign", "Top");
  r.Write("h.ini", "Empty", "Now", "here");
  r.Bytes("h.ini");

  r.Step("a file changed behind the cache is read again");
  r.Read("h.ini", "Movie", "VAlign", "");
  WriteBytes(folder / "h.ini", "[Movie]\r\nVAlign=Bottom and longer\r\n");
  r.Read("h.ini", "Movie", "VAlign", "");

  r.Step("a folder that does not exist");
  r.Write("nowhere/x.ini", "A", "B", "C");
  r.Read("nowhere/x.ini", "A", "B", "fallback");
  r.profile.Flush(r.File("p.ini"));
  r.profile.Flush(r.File("n.ini"));
  r.profile.Flush(r.File("h.ini"));
  return r.log.str();
}

fs::path Scratch(const char* name) {
  return fs::temp_directory_path() / ("zarvane_profile_" + std::to_string(std::rand()) + name);
}

std::string Recorded() {
  return ReadBytes(fs::path(ZARVANE_SOURCE_DIR) / "tests/fixtures/profile/transcript.txt");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void ExpectSameLines(const std::string& expected, const std::string& actual) {
  auto a = Lines(expected), b = Lines(actual);
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    std::string x = i < a.size() ? a[i] : "<none>", y = i < b.size() ? b[i] : "<none>";
    EXPECT_EQ(x, y) << "line " << i + 1;
    if (x != y) break;
  }
}

TEST(Profile, OurImplementationMatchesTheRecordedWindowsBehaviour) {
  auto ours = MakePortableProfile();
  fs::path folder = Scratch("ours");
  std::string transcript = Transcript(*ours, folder);
  fs::remove_all(folder);
  if (const char* out = std::getenv("ZARVANE_PROFILE_TRANSCRIPT")) {
    std::ofstream(out, std::ios::binary) << transcript;
  }
  ExpectSameLines(Recorded(), transcript);
}

#ifdef _WIN32
TEST(Profile, WindowsFunctionsAndOurImplementationAgree) {
  fs::path folder = Scratch("win32");
  std::string windows = Transcript(SystemProfile(), folder);
  fs::remove_all(folder);
  if (const char* out = std::getenv("ZARVANE_PROFILE_WINDOWS_TRANSCRIPT")) {
    std::ofstream(out, std::ios::binary) << windows;
  }
  ExpectSameLines(Recorded(), windows);
}
#endif

}  // namespace
}  // namespace zarvane
