#include "project_check.h"

#include <cctype>
#include <fstream>

#include "archive_file.h"
#include "project_file.h"
#include "text.h"
#include "wallpaper_words.h"

namespace zarvane {
namespace {

bool Contains(const std::vector<ProjectKey>& keys, const ProjectKey& key) {
  for (const ProjectKey& k : keys)
    if (EqualsIgnoreCase(k.first, key.first) && EqualsIgnoreCase(k.second, key.second)) return true;
  return false;
}

// Passes reads on and notes their keys; notes the keys of writes, and writes nothing.
class KeyRecorder : public Profile {
 public:
  explicit KeyRecorder(Profile& inner) : inner_(inner) {}
  std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& fallback, std::size_t room) override {
    Note(read, section, key);
    return inner_.ReadString(file, section, key, fallback, room);
  }
  int ReadInt(const std::string& file, const std::string& section, const std::string& key,
              int fallback) override {
    Note(read, section, key);
    return inner_.ReadInt(file, section, key, fallback);
  }
  bool WriteString(const std::string&, const std::string& section, const std::string& key,
                   const std::string&) override {
    Note(written, section, key);
    return true;
  }
  bool DeleteKey(const std::string&, const std::string&, const std::string&) override { return false; }
  bool DeleteSection(const std::string&, const std::string&) override { return false; }
  void Flush(const std::string& file) override { inner_.Flush(file); }

  std::vector<ProjectKey> read, written;

 private:
  static void Note(std::vector<ProjectKey>& keys, const std::string& section, const std::string& key) {
    if (!Contains(keys, {section, key})) keys.emplace_back(section, key);
  }
  Profile& inner_;
};

// The file's keys as "section, key" in file order; lines that are no key are skipped.
std::vector<ProjectKey> KeysInFile(const std::string& path) {
  std::vector<ProjectKey> keys;
  std::ifstream in(HostPath(path), std::ios::binary);
  std::string line, section;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.size() > 1 && line[0] == '[' && line.back() == ']') {
      section = Trim(line.substr(1, line.size() - 2));
    } else if (!line.empty() && line[0] != ';' && line.find('=') != std::string::npos) {
      keys.emplace_back(section, Trim(line.substr(0, line.find('='))));
    }
  }
  return keys;
}

bool IsSixHexDigits(const std::string& text) {
  if (text.size() != 6) return false;
  for (unsigned char c : text)
    if (!std::isxdigit(c)) return false;
  return true;
}

// The keys of a project that reading the file or saving the project touches.
KeyRecorder ReaderAndWriterKeys() {
  static std::unique_ptr<Profile> portable = MakePortableProfile();
  KeyRecorder recorder(*portable);
  HeadlessTabs tabs;
  const std::string nowhere = "/nonexistent/zarvane-project-keys.zvp";
  OpenProject(tabs, recorder, nowhere);
  BuildState state;
  SaveProject(tabs, recorder, nowhere, state);
  return recorder;
}

}  // namespace

std::vector<ProjectKey> KeysTheReaderReads() { return ReaderAndWriterKeys().read; }

std::vector<std::string> SilentReplacements(const std::string& path, HeadlessTabs& tabs) {
  std::vector<std::string> found;
  Profile* raw = &SystemProfile();
  WallpaperSettings read;
  tabs.GetWallpaper(read);
  const struct {
    const char* section;
    const char* key;
    const char* kind;
    std::string readAs;
  } words[] = {
      {"Movie", "MovieSize", "a size keyword", read.movieSize},
      {"Movie", "Quality", "a quality", read.quality},
      {"Movie", "HAlign", "a horizontal alignment", read.hAlign},
      {"Movie", "VAlign", "a vertical alignment", read.vAlign},
      {"Wallpaper", "Align", "a background position", read.backgroundPosition},
  };
  for (const auto& w : words) {
    std::string value = raw->ReadString(path, w.section, w.key, "");
    if (!value.empty() && !EqualsIgnoreCase(value, w.readAs)) {
      found.push_back(std::string("[") + w.section + "] " + w.key + " '" + value + "' is not " +
                      w.kind + "; read as '" + w.readAs + "'");
    }
  }
  std::string colour = raw->ReadString(path, "Movie", "MovieBkgColor", "");
  if (!colour.empty() && !IsSixHexDigits(colour)) {
    found.push_back("[Movie] MovieBkgColor '" + colour + "' is not six hex digits; read as '" +
                    ColourToText(ColourFromText(colour)) + "'");
  }
  // Switches: the reader takes a number's leading digits, and Loop as TRUE or not.
  const struct {
    const char* section;
    const char* key;
  } switches[] = {{"Movie", "Mute"}, {"Preview", "ShowMovie"}, {"Installer", "ShowMovie"},
                  {"Installer", "FlashControl"}};
  for (const auto& k : switches) {
    std::string value = raw->ReadString(path, k.section, k.key, "");
    if (!value.empty() && value != "0" && value != "1") {
      found.push_back(std::string("[") + k.section + "] " + k.key + " '" + value +
                      "' is not 0 or 1; read as " +
                      std::to_string(raw->ReadInt(path, k.section, k.key, 0)));
    }
  }
  // The tabs keep no mute: saving writes "0", and no installer reads the key.
  if (raw->ReadInt(path, "Movie", "Mute", 0) != 0) {
    found.push_back("[Movie] Mute '" + raw->ReadString(path, "Movie", "Mute", "") +
                    "' has no effect: the movie is not muted, the authoring tool saves '0' and "
                    "the installer ignores the key");
  }
  std::string loop = raw->ReadString(path, "Movie", "Loop", "");
  if (!loop.empty() && !EqualsIgnoreCase(loop, "TRUE") && !EqualsIgnoreCase(loop, "FALSE")) {
    found.push_back("[Movie] Loop '" + loop + "' is not TRUE or FALSE; read as FALSE (no loop)");
  }
  // Keys the tool writes but never reads: a value other than the one it writes is lost.
  const struct {
    const char* section;
    const char* key;
    std::string written;
  } unread[] = {{"Movie", "MovieBkgSet", "1"},
                {"SettingsBox", "ShowMovie", "0"},
                {"Installer", "Name", raw->ReadString(path, "ScreenSaver", "Name", "")}};
  for (const auto& k : unread) {
    std::string value = raw->ReadString(path, k.section, k.key, k.written);
    if (value != k.written) {
      found.push_back(std::string("[") + k.section + "] " + k.key + " '" + value +
                      "' is not read; saving writes '" + k.written + "'");
    }
  }
  std::string oldPicture = raw->ReadString(path, "Preview", "ImageFile", "");
  std::string picture = raw->ReadString(path, "Wallpaper", "PrevMon", "");
  if (!oldPicture.empty() && oldPicture != picture) {
    found.push_back("[Preview] ImageFile '" + oldPicture + "' is replaced by [Wallpaper] PrevMon '" +
                    picture + "'");
  }
  // Keys the tool writes are its own even when reading passes them by.
  KeyRecorder known = ReaderAndWriterKeys();
  for (const ProjectKey& key : KeysInFile(path)) {
    if (!Contains(known.read, key) && !Contains(known.written, key))
      found.push_back("[" + key.first + "] " + key.second + " is not a project key; it is ignored");
  }
  return found;
}

}  // namespace zarvane
