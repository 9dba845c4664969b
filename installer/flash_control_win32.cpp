#include <windows.h>

#include "flash_control.h"

namespace zarvane {
namespace {

bool FileSize(const std::string& path, LONG& size) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  size = static_cast<LONG>(found.nFileSizeLow);
  return true;
}

std::string BaseFolder() {
  char buffer[MAX_PATH] = {0};
  UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) length = GetWindowsDirectoryA(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) length = GetTempPathA(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return buffer;
}

// Never replaces an installed file: an existing target counts as done.
int CopyIfMissing(const std::string& source, const std::string& target, bool registerCopy) {
  if (CopyFileA(source.c_str(), target.c_str(), TRUE))
    return registerCopy ? RegisterControl(target) : 0;
  return GetLastError() == ERROR_FILE_EXISTS ? 0 : 1;
}

}  // namespace

int RegisterControl(const std::string& path) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (reinterpret_cast<UINT_PTR>(module) < 32) return 1;
  typedef HRESULT(STDAPICALLTYPE * RegisterFunction)();
  // Through the generic function type: FARPROC's return type differs from HRESULT on 64-bit.
  auto registerServer = reinterpret_cast<RegisterFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "DllRegisterServer")));
  if (!registerServer) return 0;
  return registerServer() == S_OK ? 0 : 1;
}

int InstallFlashControl(const std::string& extractionFolder) {
  std::string base = BaseFolder();
  if (!base.empty() && base.back() != '\\') base += '\\';
  std::string macromed = base + "Macromed";
  std::string folder = macromed + "\\Flash";
  CreateDirectoryA(macromed.c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string target = folder + "\\flash.ocx";
  std::string source = extractionFolder + "flash.ocx";

  LONG targetSize = 0;
  if (FileSize(target, targetSize)) {
    LONG sourceSize = 0;
    if (!FileSize(source, sourceSize) || sourceSize <= targetSize) return RegisterControl(target);
    // A larger packed control never replaces the installed one; nothing is registered.
    return CopyIfMissing(source, target, false);
  }
  return CopyIfMissing(source, target, true);
}

}  // namespace zarvane
