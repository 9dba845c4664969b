#include "help_commands.h"

#include <string>

#include "about_dialog.h"
#include "help_addresses.h"
#include "shell_open.h"

namespace zarvane {

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Without a program for .htm files, or with the page missing, the shell does nothing visible.
void OpenHelpPage(HWND owner, const std::string& page) {
  std::string path = HelpPagePath(page);
  if (ShellOpen("open", path, SW_SHOWNORMAL) > 32) return;
  std::string text = "Unable to open the help.\n\nOpen this page in your web browser:\n" + path;
  MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

std::string HelpPagePath(const std::string& page) { return ProgramFolder() + "Help\\" + page; }

void ShowHelpContents(HWND owner) { OpenHelpPage(owner, "index.htm"); }

void OpenSupportSite(HWND owner) { OpenHelpPage(owner, ZARVANE_SUPPORT_PAGE); }

void OpenMoreProducts(HWND owner) { OpenHelpPage(owner, ZARVANE_PRODUCTS_PAGE); }

void ShowAboutBox(HWND owner) {
  AboutDialog about;
  about.RunModal(owner);
}

}  // namespace zarvane
