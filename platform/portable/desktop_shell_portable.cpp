#include "desktop_shell.h"

namespace zarvane {
namespace {

// No desktop to change outside Windows: creation fails, as when the shell lacks Active Desktop.
class NoDesktopShell : public DesktopShell {
 public:
  void InitializeCom() override {}
  void UninitializeCom() override {}
  bool CreateActiveDesktop() override { return false; }
  void ReleaseActiveDesktop() override {}
  void GetWallpaper(std::wstring&, unsigned) override {}
  bool SetWallpaper(const std::wstring&) override { return false; }
  bool GetDesktopItemOptions(ComponentsOptions&) override { return false; }
  void SetDesktopItemOptions(const ComponentsOptions&) override {}
  bool ApplyChanges(unsigned) override { return false; }
};

}  // namespace

DesktopShell& SystemDesktopShell() {
  static NoDesktopShell shell;
  return shell;
}

}  // namespace zarvane
