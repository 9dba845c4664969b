#include <windows.h>

#include "locate_flash_control.h"
#include "path_words.h"

namespace zarvane {

FlashControlFolders MachineFlashControlFolders() {
  FlashControlFolders folders;
  char buffer[MAX_PATH];
  UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
  if (n > 0 && n < MAX_PATH) folders.systemFolder.assign(buffer, n);
  n = GetWindowsDirectoryA(buffer, MAX_PATH);
  if (n > 0 && n < MAX_PATH) folders.windowsFolder.assign(buffer, n);
  DWORD t = GetTempPathA(MAX_PATH, buffer);
  if (t > 0 && t < MAX_PATH) folders.temporaryFolder.assign(buffer, t);
  DWORD m = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (m > 0 && m < MAX_PATH) folders.toolFolder = FolderOf(std::string(buffer, m));
  return folders;
}

}  // namespace zarvane
