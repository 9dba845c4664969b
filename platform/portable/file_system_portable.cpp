#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "file_system.h"
#include "host_text.h"

namespace zarvane {
namespace fs = std::filesystem;

static fs::path Native(const std::string& path) { return fs::path(HostPath(path)); }

bool MakeDirectory(const std::string& path) {
  std::error_code ec;
  return fs::create_directory(Native(path), ec) && !ec;
}

bool RemoveEmptyDirectory(const std::string& path) {
  std::error_code ec;
  fs::path p = Native(path);
  if (!fs::is_directory(fs::symlink_status(p, ec))) return false;
  return fs::remove(p, ec) && !ec;
}

bool CopyFileOver(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::is_regular_file(Native(from), ec)) return false;
  return fs::copy_file(Native(from), Native(to), fs::copy_options::overwrite_existing, ec) && !ec;
}

bool CreateNewFile(const std::string& path) {
  int fd = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool RemoveFile(const std::string& path) {
  std::error_code ec;
  fs::path p = Native(path);
  if (fs::is_directory(fs::symlink_status(p, ec))) return false;
  return fs::remove(p, ec) && !ec;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(Native(path), ec);
}

std::vector<std::string> ListDirectory(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(Native(folder), ec), end;
  if (ec) return names;
  names = {".", ".."};
  for (; it != end; it.increment(ec)) {
    if (ec) break;
    names.push_back(it->path().filename().string());
  }
  return names;
}

bool ReplaceFileContents(const std::string& path, const std::string& text) {
  fs::path target = Native(path);
  std::error_code ec;
  // The first of "<path>.part", "<path>.1.part", ... that nothing (file, folder, link) holds:
  // "x" creates it exclusively, so a file planted meanwhile is never written through.
  for (int n = 0; n < 100; ++n) {
    fs::path temp = target;
    temp += (n ? "." + std::to_string(n) : std::string()) + ".part";
    std::FILE* out = std::fopen(temp.c_str(), "wbx");
    if (!out) {
      if (fs::exists(fs::symlink_status(temp, ec))) continue;
      return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    ok = std::fclose(out) == 0 && ok;
    if (ok) fs::rename(temp, target, ec);
    if (!ok || ec) {
      fs::remove(temp, ec);
      return false;
    }
    return true;
  }
  return false;
}

std::string MakePrivateTempFolder() {
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  if (ec) return std::string();
  std::string folder = (base / "zarvane-XXXXXX").string();
  if (!mkdtemp(&folder[0])) return std::string();
  return folder + '/';
}

std::string MakeRunFolder(const std::string& base, const std::string& prefix,
                          bool (*keep)(const std::string& folder)) {
  if (base.empty()) return std::string();
  std::error_code ec;
  // Leftovers of ended runs: "<prefix><process>-<n>" whose process is gone.
  for (fs::directory_iterator it(Native(base), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string rest = name.substr(prefix.size());
    std::string::size_type dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 9 ||
        rest.find_first_not_of("0123456789-") != std::string::npos || dash + 1 == rest.size() ||
        rest.find('-', dash + 1) != std::string::npos)
      continue;
    std::error_code kind;
    if (!fs::is_directory(it->symlink_status(kind))) continue;
    pid_t owner = static_cast<pid_t>(std::stol(rest.substr(0, dash)));
    // Whole: an ended run's folder may hold folders of its own (an export's).
    std::error_code ignored;
    if (owner > 0 && kill(owner, 0) != 0 && errno == ESRCH && !(keep && keep(it->path().string())))
      fs::remove_all(it->path(), ignored);
  }
  const std::string start = base + prefix + std::to_string(getpid()) + "-";
  for (unsigned n = 0; n < 1000; ++n) {
    std::string folder = start + std::to_string(n);
    if (MakeDirectory(folder)) return folder + base.back();
    if (!fs::exists(Native(folder), ec)) break;
  }
  return std::string();
}

bool RemoveFolderAndFiles(const std::string& folder) {
  std::error_code ec;
  fs::path root = Native(folder);
  if (!fs::is_directory(fs::symlink_status(root, ec))) return false;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
    if (!fs::is_directory(it->symlink_status(ec))) fs::remove(it->path(), ec);
  return fs::remove(root, ec) && !ec;
}

std::string WindowsDirectory() {
  const char* dir = std::getenv("ZARVANE_WINDOWS_DIR");
  return dir && *dir ? dir : "C:\\WINDOWS";
}

// Latin-1 both ways: the portable build has no ANSI code page.
std::wstring WidenAnsi(const std::string& text) {
  std::wstring out;
  for (unsigned char c : text) out.push_back(wchar_t(c));
  return out;
}

std::string NarrowAnsi(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out.push_back(c < 256 ? char(c) : '?');
  return out;
}

}  // namespace zarvane
