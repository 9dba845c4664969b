// Shows the install dialog only; used until the wallpaper core and the archive reader exist.
#include <windows.h>
#include <commctrl.h>

#include "dialog.h"
#include "installer_resources.h"

namespace {
class FirstLightDialog : public zarvane::Dialog {
 public:
  FirstLightDialog() : Dialog(IDD_INSTALL) {}

 protected:
  bool OnCommand(int id, int code) override {
    if (code == BN_CLICKED && (id == IDB_DECLINE || id == IDB_INSTALL)) {
      End(0);
      return true;
    }
    return false;
  }
};
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  FirstLightDialog dialog;
  dialog.RunModal(nullptr);
  return 0;
}
