#include "file_messages.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "archive_damage.h"
#include "archive_file.h"
#include "cli_command.h"
#include "payload_archive.h"
#include "terminal_text.h"

namespace zarvane {

std::filesystem::path FileSystemPath(const std::string& path) {
#ifdef _WIN32
  // The library would read narrow text as UTF-8 and throw at the first other character.
  int size = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], size);
  return std::filesystem::path(wide);
#else
  return std::filesystem::u8path(HostPath(path));
#endif
}

std::string WhyUnreadable(const std::string& path) {
  std::error_code ec;
  std::filesystem::path host = FileSystemPath(path);
  std::filesystem::file_status status = std::filesystem::status(host, ec);
  if (!std::filesystem::exists(status)) return "no such file";
  if (std::filesystem::is_directory(status)) return "is a folder";
  ArchiveFile file;
  if (file.OpenRead(path)) return "";
  return errno == EACCES ? "permission denied" : std::strerror(errno);
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  ArchiveFile file;
  std::int64_t size = file.OpenRead(path) ? file.Size() : -1;
  if (size < 0) return false;
  text.resize(static_cast<std::size_t>(size));
  return file.Read(&text[0], text.size()) == text.size();
}

int FileFailure(std::ostream& err, const std::string& file, const std::string& what) {
  err << "zarvane-cli: " << Printable(file) << ": " << Printable(what, true) << "\n";
  return kExitFailure;
}

int ArchiveFailure(std::ostream& err, const std::string& installer, int result) {
  if (result == kArchiveCannotOpen || result == kArchiveSourceFailed) {
    std::string why = WhyUnreadable(installer);
    if (!why.empty()) return FileFailure(err, installer, why);
  }
  if (result == kArchiveWriteFailed || result == kArchiveSourceFailed || result == kArchiveCannotOpen)
    return FileFailure(err, installer, ArchiveResultText(result, false));
  return FileFailure(err, installer, ArchiveDamageText(DescribeArchiveDamage(installer, result)));
}

}  // namespace zarvane
