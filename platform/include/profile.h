#pragma once
// INI (profile) files with the behaviour of the Windows profile functions. On Windows the
// system's functions; elsewhere our own implementation, which is checked against them under Wine:
// CRLF lines, no blank lines, names matched ignoring letter case, a changed value rewritten in
// place, a new key at the end of its section, a new section at the end of the file.
// Pass full paths: Windows puts a bare file name into the Windows folder.
#include <cstddef>
#include <memory>
#include <string>

namespace zarvane {

class Profile {
 public:
  virtual ~Profile() = default;

  // GetPrivateProfileStringA with a buffer of `room` characters: at most room - 1 come back.
  // Blanks around the value are dropped, and one pair of enclosing quotes.
  virtual std::string ReadString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& fallback,
                                 std::size_t room = 1024) = 0;
  // GetPrivateProfileIntA: the leading number of the value; `fallback` when missing or empty.
  virtual int ReadInt(const std::string& file, const std::string& section, const std::string& key,
                      int fallback) = 0;
  // WritePrivateProfileStringA; the value's leading blanks are dropped. False when the file
  // cannot be written.
  virtual bool WriteString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) = 0;
  virtual bool DeleteKey(const std::string& file, const std::string& section,
                         const std::string& key) = 0;
  virtual bool DeleteSection(const std::string& file, const std::string& section) = 0;
  // Drops what is cached of the file (WritePrivateProfileStringA with no section, key or value).
  virtual void Flush(const std::string& file) = 0;
};

// The platform's profile: the Windows functions on Windows, our own implementation elsewhere.
Profile& SystemProfile();

// Our own implementation, available in both builds so the two can be compared.
std::unique_ptr<Profile> MakePortableProfile();

}  // namespace zarvane
