#include "help_commands.h"

#include <shellapi.h>

#include <string>

#include "about_dialog.h"
#include "help_addresses.h"

namespace zarvane {

namespace {

void Open(const std::string& target) {
  ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

}  // namespace

void ShowHelpContents() { Open(ProgramFolder() + "Help\\index.htm"); }

void OpenSupportSite() { Open(ZARVANE_SUPPORT_PAGE); }

void OpenMoreProducts() { Open(ZARVANE_PRODUCTS_PAGE); }

void ShowAboutBox(HWND owner) {
  AboutDialog about;
  about.RunModal(owner);
}

}  // namespace zarvane
