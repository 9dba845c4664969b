#include <windows.h>

#include <vector>

#include "profile.h"

namespace zarvane {
namespace {

class Win32Profile : public Profile {
 public:
  std::string ReadString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& fallback,
                         std::size_t room) override {
    if (room == 0) return std::string();
    std::vector<char> buffer(room, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                       buffer.data(), static_cast<DWORD>(room), file.c_str());
    return std::string(buffer.data(), n < room ? n : room - 1);
  }

  int ReadInt(const std::string& file, const std::string& section, const std::string& key,
              int fallback) override {
    return static_cast<int>(
        GetPrivateProfileIntA(section.c_str(), key.c_str(), fallback, file.c_str()));
  }

  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      file.c_str()) != FALSE;
  }

  bool DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) !=
           FALSE;
  }

  bool DeleteSection(const std::string& file, const std::string& section) override {
    return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
  }

  void Flush(const std::string& file) override {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
  }
};

}  // namespace

Profile& SystemProfile() {
  static Win32Profile profile;
  return profile;
}

}  // namespace zarvane
