#include "restart_deletions.h"

#include <windows.h>

#include "file_system.h"
#include "restart_rename.h"

namespace zarvane {
namespace {

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPending[] = L"PendingFileRenameOperations";

// The path as compared: without the "\??\" of the native form and without a trailing backslash
// (a drive's root keeps its own). Cut off at MAX_PATH characters.
void Comparable(const wchar_t* path, int length, wchar_t (&out)[MAX_PATH + 1]) {
  if (length >= 4 && path[0] == L'\\' && path[1] == L'?' && path[2] == L'?' && path[3] == L'\\')
    path += 4, length -= 4;
  while (length > 3 && path[length - 1] == L'\\') --length;
  if (length > MAX_PATH) length = MAX_PATH;
  lstrcpynW(out, path, length + 1);
}

std::string SystemLowerCase(std::string text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

bool ReadWholeText(const std::string& path, std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char chunk[4096];
  DWORD got = 0;
  bool ok;
  while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != 0) && got > 0)
    text.append(chunk, got);
  CloseHandle(file);
  return ok;
}

// The Windows 9x family: WinInit.ini's [rename] lines "NUL=path".
std::vector<std::string> CancelThroughWinInit(const std::vector<std::string>& paths) {
  std::vector<std::string> cancelled;
  char windows[MAX_PATH] = {0};
  GetWindowsDirectoryA(windows, MAX_PATH);
  std::string file = windows;
  if (file.empty() || file.back() != '\\') file += '\\';
  file += "WinInit.ini";
  std::string text;
  if (!ReadWholeText(file, text)) return cancelled;
  const std::string kept = WithoutRestartDeletions(text, paths, &SystemLowerCase);
  if (kept == text) return cancelled;
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // its cache to disk first
  if (!ReplaceFileContents(file, kept)) return cancelled;
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());  // forget the cached text
  for (const std::string& path : paths)
    if (WithoutRestartDeletions(text, {path}, &SystemLowerCase) != text) cancelled.push_back(path);
  return cancelled;
}

}  // namespace

std::vector<std::string> CancelDeletionsAtRestart(const std::vector<std::string>& paths) {
  if (OnWindows9x()) return CancelThroughWinInit(paths);
  std::vector<std::string> cancelled;
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                    &key) != ERROR_SUCCESS)
    return cancelled;
  DWORD type = 0, size = 0;
  wchar_t* data = nullptr;
  if (RegQueryValueExW(key, kPending, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_MULTI_SZ && size >= sizeof(wchar_t)) {
    data = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, size + sizeof(wchar_t)));
    if (data && RegQueryValueExW(key, kPending, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                 &size) != ERROR_SUCCESS)
      size = 0;
  }
  if (data) {
    // Pairs of strings, source then target, where an empty target is a deletion: the empty
    // strings inside mean the value ends only where its size says. Kept pairs move forward.
    const DWORD count = size / sizeof(wchar_t);
    data[count] = L'\0';
    DWORD read = 0, write = 0;
    bool changed = false;
    while (read < count) {
      const wchar_t* source = data + read;
      DWORD sourceLength = lstrlenW(source);
      if (read + sourceLength + 1 >= count) break;  // the closing empty string
      const wchar_t* target = source + sourceLength + 1;
      DWORD pairLength = sourceLength + 1 + lstrlenW(target) + 1;
      bool ours = false;
      if (!*target) {
        wchar_t pending[MAX_PATH + 1], mine[MAX_PATH + 1], wide[MAX_PATH + 1];
        Comparable(source, sourceLength, pending);
        for (const std::string& path : paths) {
          int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH + 1);
          Comparable(wide, length > 0 ? length - 1 : 0, mine);
          if (length > 0 && lstrcmpiW(pending, mine) == 0) {
            ours = true;
            cancelled.push_back(path);
            break;
          }
        }
      }
      if (ours) {
        changed = true;
      } else {
        for (DWORD i = 0; i < pairLength; ++i) data[write + i] = data[read + i];
        write += pairLength;
      }
      read += pairLength;
    }
    if (changed) {
      if (write == 0) {
        RegDeleteValueW(key, kPending);
      } else {
        data[write++] = L'\0';
        RegSetValueExW(key, kPending, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data),
                       write * sizeof(wchar_t));
      }
    }
    HeapFree(GetProcessHeap(), 0, data);
  }
  RegCloseKey(key);
  return cancelled;
}

}  // namespace zarvane
