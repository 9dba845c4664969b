// Our profile implementation: what the Windows functions do that a caller can observe, down to
// the bytes of the file. Blanks around values and names are not kept through a read of the file.
#include <cstdio>
#include <filesystem>
#include <vector>

#include "host_text.h"
#include "profile.h"

namespace zarvane {
namespace {
namespace fs = std::filesystem;

constexpr std::size_t kProfileFiles = 10;

bool IsProfileSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == 0x1a;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::string TrimProfileSpace(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsProfileSpace(text[begin])) ++begin;
  while (end > begin && IsProfileSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

struct Entry {
  std::string name;
  bool hasValue = false;  // a line without "=" is kept as a name alone
  std::string value;
};

struct Section {
  std::string name;  // the lines before the first header form a section without a name
  std::vector<Entry> entries;
};

struct ProfileFile {
  fs::path path;
  std::vector<Section> sections;
  bool utf8Mark = false;
};

bool ReadWholeFile(const fs::path& path, std::string& text) {
  std::FILE* f = std::fopen(path.string().c_str(), "rb");
  if (!f) return false;
  char buffer[8192];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return true;
}

void Parse(const std::string& text, ProfileFile& file) {
  file.sections.assign(1, Section());
  std::size_t pos = 0;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    file.utf8Mark = true;
    pos = 3;
  }
  Entry* previous = nullptr;
  while (pos < text.size()) {
    std::size_t start = pos;
    while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r') ++pos;
    std::string line = TrimProfileSpace(text.substr(start, pos - start));
    while (pos < text.size() && (text[pos] == '\n' || text[pos] == '\r')) ++pos;
    if (line.empty()) continue;
    if (line[0] == '[') {
      std::size_t close = line.rfind(']');
      if (close != std::string::npos && close > 0) {
        Section section;
        section.name = line.substr(1, close - 1);
        file.sections.push_back(section);
        previous = nullptr;
        continue;
      }
    }
    Entry entry;
    std::size_t equals = line.find('=');
    if (equals != std::string::npos) {
      std::string name = line.substr(0, equals);
      while (!name.empty() && IsProfileSpace(name.back())) name.pop_back();
      std::size_t valueStart = equals + 1;
      while (valueStart < line.size() && IsProfileSpace(line[valueStart])) ++valueStart;
      entry.name = name;
      entry.hasValue = true;
      entry.value = line.substr(valueStart);
    } else {
      entry.name = line;
    }
    // A run of lines with empty names keeps only its first.
    if (entry.name.empty() && previous && previous->name.empty()) continue;
    file.sections.back().entries.push_back(entry);
    previous = &file.sections.back().entries.back();
  }
}

std::string Serialize(const ProfileFile& file) {
  std::string text = file.utf8Mark ? "\xEF\xBB\xBF" : "";
  for (const Section& section : file.sections) {
    if (!section.name.empty()) text += "[" + section.name + "]\r\n";
    for (const Entry& entry : section.entries) {
      text += entry.name;
      if (entry.hasValue) text += "=" + entry.value;
      text += "\r\n";
    }
  }
  return text;
}

// The first quote pair is dropped, in the way the Windows functions drop it: when the text
// does not fit, the closing quote stays.
std::string CopyOut(const std::string& value, std::size_t room) {
  std::size_t begin = 0;
  bool quoted = false;
  if (!value.empty() && (value[0] == '\'' || value[0] == '"') && value.size() > 1 &&
      value.back() == value[0]) {
    quoted = true;
    begin = 1;
  }
  std::string rest = value.substr(begin);
  std::string out = rest.substr(0, room - 1);
  if (quoted && room >= rest.size() && !out.empty()) out.pop_back();
  return out;
}

class PortableProfile : public Profile {
 public:
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback,
                         std::size_t room) override {
    if (room == 0) return std::string();
    std::string fallbackCut = fallback;
    while (fallbackCut.size() > 1 && fallbackCut.back() == ' ') fallbackCut.pop_back();
    ProfileFile loaded;
    if (!Open(file, loaded)) return fallbackCut.substr(0, room - 1);
    const Entry* entry = Find(loaded, section, key);
    return CopyOut(entry && entry->hasValue ? entry->value : fallbackCut, room);
  }

  int ReadInt(const std::string& file, const std::string& section, const std::string& key,
              int fallback) override {
    std::string text = ReadString(file, section, key, "", 30);
    if (text.empty()) return fallback;
    return ParseNumber(text);
  }

  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override {
    ProfileFile loaded;
    if (!Open(file, loaded)) return false;
    Entry& entry = FindOrAdd(loaded, section, key);
    std::size_t start = 0;
    while (start < value.size() && IsProfileSpace(value[start])) ++start;
    std::string stored = value.substr(start);
    // An unchanged value leaves the file as it is, line ends and all.
    if (entry.hasValue && entry.value == stored) return true;
    entry.hasValue = true;
    entry.value = stored;
    return Save(loaded);
  }

  bool DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override {
    ProfileFile loaded;
    if (!Open(file, loaded)) return false;
    for (Section& s : loaded.sections) {
      if (!SameName(s.name, section)) continue;
      for (auto it = s.entries.begin(); it != s.entries.end(); ++it) {
        if (SameName(it->name, key)) {
          s.entries.erase(it);
          return Save(loaded);
        }
      }
    }
    return true;
  }

  bool DeleteSection(const std::string& file, const std::string& section) override {
    ProfileFile loaded;
    if (!Open(file, loaded)) return false;
    auto& sections = loaded.sections;
    for (auto it = sections.begin(); it != sections.end();) {
      if (SameName(it->name, section))
        it = sections.erase(it);
      else
        ++it;
    }
    return Save(loaded);
  }

  // Every operation reads the file afresh and writes it at once, so nothing waits for a flush.
  void Flush(const std::string&) override {}

 private:
  // False when the file exists but cannot be read, or its folder is missing; a missing file
  // in an existing folder is an empty profile.
  static bool Open(const std::string& file, ProfileFile& loaded) {
    loaded.path = fs::path(HostPath(file));
    loaded.sections.assign(1, Section());
    std::error_code ec;
    if (fs::is_regular_file(loaded.path, ec)) {
      std::string text;
      if (!ReadWholeFile(loaded.path, text)) return false;
      Parse(text, loaded);
      return true;
    }
    fs::path folder = loaded.path.parent_path();
    return !fs::exists(loaded.path, ec) && (folder.empty() || fs::is_directory(folder, ec));
  }

  static bool Save(const ProfileFile& loaded) {
    std::FILE* f = std::fopen(loaded.path.string().c_str(), "wb");
    if (!f) return false;
    std::string text = Serialize(loaded);
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
  }

  static const Entry* Find(ProfileFile& file, const std::string& section, const std::string& key) {
    std::string sectionName = TrimProfileSpace(section), keyName = TrimProfileSpace(key);
    for (Section& s : file.sections) {
      if (!SameName(s.name, sectionName)) continue;
      for (Entry& e : s.entries)
        if (SameName(e.name, keyName)) return &e;
      return nullptr;
    }
    return nullptr;
  }

  static Entry& FindOrAdd(ProfileFile& file, const std::string& section, const std::string& key) {
    std::string sectionName = TrimProfileSpace(section), keyName = TrimProfileSpace(key);
    Section* target = nullptr;
    for (Section& s : file.sections) {
      if (SameName(s.name, sectionName)) {
        target = &s;
        break;
      }
    }
    if (!target) {
      file.sections.push_back(Section{sectionName, {}});
      target = &file.sections.back();
    }
    for (Entry& e : target->entries)
      if (SameName(e.name, keyName)) return e;
    target->entries.push_back(Entry{keyName, false, std::string()});
    return target->entries.back();
  }

  // Leading blanks, a sign, a "0x"/"0o"/"0b" base prefix, then digits; the number wraps at 32 bits.
  static int ParseNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool minus = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) minus = text[i++] == '-';
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
      char p = text[i + 1];
      if (p == 'x') base = 16;
      else if (p == 'o') base = 8;
      else if (p == 'b') base = 2;
      if (base != 10) i += 2;
    }
    std::uint32_t total = 0;
    for (; i < text.size(); ++i) {
      char c = text[i];
      int digit = (c >= '0' && c <= '9')   ? c - '0'
                  : (c >= 'A' && c <= 'Z') ? c - 'A' + 10
                  : (c >= 'a' && c <= 'z') ? c - 'a' + 10
                                           : -1;
      if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
      total = total * base + static_cast<std::uint32_t>(digit);
    }
    return static_cast<int>(minus ? 0u - total : total);
  }

};

}  // namespace

std::unique_ptr<Profile> MakePortableProfile() { return std::make_unique<PortableProfile>(); }

}  // namespace zarvane
