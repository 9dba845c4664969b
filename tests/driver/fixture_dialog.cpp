// A dialog for the driver to practise on: an edit box, a status text, a check box, buttons that
// ask through owned and unowned message boxes, one that is never enabled. Exit code: 3 Cancel,
// 10 OK, 11 OK with the option checked. The first argument, if any, is shown as the status.
#include <windows.h>

#include <string>

#include "fixture_dialog.h"

namespace {

std::string Text(HWND dialog, int id) {
  char buffer[256] = {};
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

INT_PTR CALLBACK FixtureProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    SetDlgItemTextA(dialog, IDT_STATUS, __argc > 1 ? __argv[1] : "ready");
    return TRUE;
  }
  if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return FALSE;
  std::string name = Text(dialog, IDE_NAME);
  switch (LOWORD(wparam)) {
    case IDB_ASK: {
      std::string question = "Build \"" + name + "\" now?";
      int answer = MessageBoxA(dialog, question.c_str(), "Confirm", MB_YESNO | MB_ICONQUESTION);
      SetDlgItemTextA(dialog, IDT_STATUS, answer == IDYES ? ("yes " + name).c_str() : "no");
      return TRUE;
    }
    case IDOK:
      if (name.empty()) {
        // Same caption as the dialog, owned by it: the case that fools a lookup by caption.
        MessageBoxA(dialog, "Please enter a name first.", "Driver Fixture",
                    MB_OK | MB_ICONEXCLAMATION);
        return TRUE;
      }
      MessageBoxA(nullptr, ("Done: " + name + "\nSee you.").c_str(), "Done", MB_OK);
      EndDialog(dialog, IsDlgButtonChecked(dialog, IDX_OPTION) == BST_CHECKED ? 11 : 10);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 3);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_FIXTURE), nullptr,
                                          FixtureProc, 0));
}
