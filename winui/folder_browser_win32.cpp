#include "folder_browser.h"

#include <shlobj.h>

namespace zarvane {

bool BrowseForFolder(HWND owner, const std::string& title, std::string& path) {
  LPITEMIDLIST root = nullptr;
  SHGetSpecialFolderLocation(owner, CSIDL_DESKTOP, &root);
  char display[MAX_PATH] = {0};
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.pidlRoot = root;
  info.pszDisplayName = display;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  bool got = false;
  if (chosen) {
    char buffer[MAX_PATH] = {0};
    if (SHGetPathFromIDListA(chosen, buffer)) {
      path = buffer;
      got = true;
    }
    CoTaskMemFree(chosen);
  }
  if (root) CoTaskMemFree(root);
  return got;
}

}  // namespace zarvane
