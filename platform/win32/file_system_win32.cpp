#include <windows.h>

#include <cstring>
#include <string>

#include "file_system.h"

namespace zarvane {

bool MakeDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool RemoveEmptyDirectory(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

bool CopyFileOver(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool OnWindows9x() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  if (!OnWindows9x()) return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  // Two renames: the old file waits beside until the new one is in its place.
  const std::string aside = to + ".old";
  const DWORD left = GetFileAttributesA(aside.c_str());
  if (left != INVALID_FILE_ATTRIBUTES && !(left & FILE_ATTRIBUTE_DIRECTORY)) {
    // A run stopped between the renames. The old file goes back first rather than the new one
    // in: should this replacement fail too, the file is where its readers look, whole.
    const bool gone = GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES;
    if (gone ? !MoveFileA(aside.c_str(), to.c_str()) : !DeleteFileA(aside.c_str())) return false;
  }
  const bool had = GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (had && !MoveFileA(to.c_str(), aside.c_str())) return false;
  if (!MoveFileA(from.c_str(), to.c_str())) {
    if (had) MoveFileA(aside.c_str(), to.c_str());
    return false;
  }
  if (had) DeleteFileA(aside.c_str());
  return true;
}

namespace {

// "C:\A\B" -> "C:\A", "C:\A" -> "C:\"; empty for a root ("C:\", "\\server\share").
std::string ParentOf(const std::string& path) {
  if (path.empty() || path.back() == '\\') return std::string();
  const std::string::size_type cut = path.find_last_of('\\');
  if (cut == std::string::npos) return std::string();
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);
  if (path.compare(0, 2, "\\\\") == 0 && path.find('\\', 2) >= cut) return std::string();
  return path.substr(0, cut);
}

// The path made whole by the system: "." and ".." resolved, against the current folder if need be.
bool FullPath(const std::string& path, std::string& full) {
  char buffer[MAX_PATH * 2] = {0};
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (!length || length >= sizeof buffer) return false;
  full.assign(buffer, length);
  return true;
}

}  // namespace

bool SameIdentity(const FolderIdentity& a, const FolderIdentity& b) {
  return a.volume == b.volume && a.index == b.index;
}

bool NearestFolderIdentity(const std::string& path, FolderIdentity& identity) {
  if (OnWindows9x()) return false;
  std::string folder;
  if (path.empty() || !FullPath(path, folder)) return false;
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  for (int missing = 0; !folder.empty(); ++missing, folder = ParentOf(folder)) {
    HANDLE handle = CreateFileA(folder.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      // Only a level that is not there is passed over: one that is there but cannot be opened
      // leaves the question open.
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
          error != ERROR_INVALID_NAME)
        return false;
      continue;
    }
    BY_HANDLE_FILE_INFORMATION info;
    const bool read = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!read) return false;
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;  // a file of that name
    identity.volume = info.dwVolumeSerialNumber;
    identity.index =
        (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.folder = folder;
    identity.missing = missing;
    return true;
  }
  return false;
}

std::string LongPathOf(const std::string& path) {
  std::string whole;
  if (!FullPath(path, whole)) return path;
  // The root as it stands: "C:\" or "\\server\share\".
  std::string::size_type at = std::string::npos;
  if (whole.size() >= 3 && whole[1] == ':' && whole[2] == '\\') {
    at = 3;
  } else if (whole.compare(0, 2, "\\\\") == 0) {
    const std::string::size_type server = whole.find('\\', 2);
    const std::string::size_type share =
        server == std::string::npos ? server : whole.find('\\', server + 1);
    at = share == std::string::npos ? share : share + 1;
  }
  if (at == std::string::npos) return whole;
  std::string out = whole.substr(0, at);
  bool exists = true;
  while (at < whole.size()) {
    std::string::size_type end = whole.find('\\', at);
    if (end == std::string::npos) end = whole.size();
    std::string word = whole.substr(at, end - at);
    // FindFirstFileA gives a level's long name: GetLongPathNameA is missing from Windows 95.
    if (exists && !word.empty() && word.find_first_of("*?") == std::string::npos) {
      WIN32_FIND_DATAA found;
      HANDLE search = FindFirstFileA((out + word).c_str(), &found);
      exists = search != INVALID_HANDLE_VALUE;
      if (exists) {
        FindClose(search);
        word = found.cFileName;
      }
    }
    out += word;
    if (end < whole.size()) out += '\\';
    at = end + 1;
  }
  return out;
}

bool CreateNewFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListDirectory(const std::string& folder) {
  std::vector<std::string> names;
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += "*.*";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

bool ReplaceFileContents(const std::string& path, const std::string& text) {
  // Windows will not move a file onto a read-only one, Wine will: the same answer on both.
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  // The first of "<path>.part", "<path>.1.part", ... that nothing holds, created anew, so a file
  // of that name that was there already is never written or moved onto the page.
  for (int n = 0; n < 100; ++n) {
    std::string temp = path + (n ? "." + std::to_string(n) : std::string()) + ".part";
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (GetFileAttributesA(temp.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
      return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) &&
              written == text.size();
    ok = CloseHandle(file) && ok;
    if (ok) ok = MoveReplacing(temp, path);
    if (!ok) DeleteFileA(temp.c_str());
    return ok != 0;
  }
  return false;
}

namespace {

// The process numbered `id` has ended. A number in use again by another program counts as
// running, so at worst a folder stays.
bool ProcessEnded(DWORD id) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
  bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

// "<prefix><process>-<n>": the number of the process whose folder it is.
bool RunFolderOwner(const char* name, const std::string& prefix, DWORD& id) {
  const char* at = name + prefix.size();
  if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0 || *at < '0' || *at > '9')
    return false;
  unsigned long long number = 0;
  for (; *at >= '0' && *at <= '9'; ++at) number = number * 10 + unsigned(*at - '0');
  if (*at++ != '-' || *at < '0' || *at > '9' || number > 0xFFFFFFFFull) return false;
  while (*at >= '0' && *at <= '9') ++at;
  id = static_cast<DWORD>(number);
  return *at == '\0';
}

}  // namespace

// A run that was killed or lost its power left its folder behind; the next run takes it away.
void RemoveFoldersOfEndedRuns(const std::string& temp, const std::string& prefix,
                              bool (*keep)(const std::string& folder)) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((temp + prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    DWORD owner = 0;
    bool plainFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                       !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (plainFolder && RunFolderOwner(found.cFileName, prefix, owner) && ProcessEnded(owner) &&
        !(keep && keep(temp + found.cFileName)))
      RemoveFolderAndFiles(temp + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string MakePrivateTempFolder() {
  char buffer[MAX_PATH] = {};
  DWORD length = GetTempPathA(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::string base = buffer;
  if (base.back() != '\\') base += '\\';
  return MakeRunFolder(base, "zarvane-");
}

std::string MakeRunFolder(const std::string& base, const std::string& prefix,
                          bool (*keep)(const std::string& folder)) {
  if (base.empty()) return std::string();
  RemoveFoldersOfEndedRuns(base, prefix, keep);
  const std::string start = base + prefix + std::to_string(GetCurrentProcessId()) + "-";
  // Only a folder this call creates is ours: one that exists already may be anybody's.
  for (unsigned n = 0; n < 1000; ++n) {
    std::string folder = start + std::to_string(n);
    if (CreateDirectoryA(folder.c_str(), nullptr)) return folder + base.back();
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return std::string();
}

bool RemoveFolderAndFiles(const std::string& folder) {
  std::string inside = folder;
  if (!inside.empty() && inside.back() != '\\') inside += '\\';
  for (const std::string& entry : ListDirectory(inside))
    if (entry != "." && entry != "..") DeleteFileA((inside + entry).c_str());
  return RemoveDirectoryA(inside.c_str()) != 0;
}

std::string LocalAppDataFolder() {
  using FolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  // Looked up: shell32 has it from Windows 2000 and Me on, shfolder brings it to the others.
  FolderPath folderPath = nullptr;
  for (const char* library : {"shell32.dll", "shfolder.dll"}) {
    HMODULE module = LoadLibraryA(library);
    if (module)
      folderPath = reinterpret_cast<FolderPath>(
          reinterpret_cast<void (*)()>(GetProcAddress(module, "SHGetFolderPathA")));
    if (folderPath) break;
  }
  const int kLocalAppData = 0x001C, kCreate = 0x8000;  // CSIDL_LOCAL_APPDATA, CSIDL_FLAG_CREATE
  char buffer[MAX_PATH] = {};
  if (!folderPath || folderPath(nullptr, kLocalAppData | kCreate, nullptr, 0, buffer) != S_OK ||
      !buffer[0])
    return std::string();
  std::string folder = buffer;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

std::string WindowsDirectory() {
  char buffer[1024] = {};
  UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::wstring WidenAnsi(const std::string& text) {
  if (text.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &out[0], n);
  return out;
}

std::string NarrowAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace zarvane
