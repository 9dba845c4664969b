#include "authoring_app.h"

#include <windows.h>

#include "main_dialog.h"
#include "main_ids.h"
#include "tool_settings.h"

namespace zarvane {
namespace {

const MainDialog* mainDialog = nullptr;
HACCEL accelerators = nullptr;

// The main window is a modal dialog, whose loop knows nothing of accelerators: they are offered
// here first. Only keys typed into the main window or its pages count, so that Ctrl+S or Alt+F4
// in a message box or a file chooser stays theirs.
LRESULT CALLBACK FilterMessages(int code, WPARAM wParam, LPARAM lParam) {
  MSG* message = reinterpret_cast<MSG*>(lParam);
  HWND mainWindow = mainDialog ? mainDialog->Handle() : nullptr;
  if (code == MSGF_DIALOGBOX && mainWindow && message->hwnd &&
      (message->hwnd == mainWindow || IsChild(mainWindow, message->hwnd)) &&
      TranslateAcceleratorA(mainWindow, accelerators, message))
    return TRUE;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int AuthoringApp::Run(const std::string& commandLine) {
  // Kept for the life of the process; a second copy of the tool runs all the same, but only the
  // only copy may undo a preview left over: another copy's may be on screen.
  CreateMutexA(nullptr, FALSE, "Zarvane_m");
  bool onlyCopy = GetLastError() != ERROR_ALREADY_EXISTS;
  // The recent list only opens its key; made here, it works from the first run on.
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kToolSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) == ERROR_SUCCESS)
    RegCloseKey(key);

  accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  HHOOK hook = SetWindowsHookExA(WH_MSGFILTER, FilterMessages, nullptr, GetCurrentThreadId());
  MainDialog dialog(commandLine, onlyCopy);
  mainDialog = &dialog;
  dialog.RunModal(nullptr);
  if (hook) UnhookWindowsHookEx(hook);
  mainDialog = nullptr;
  return 0;
}

}  // namespace zarvane
