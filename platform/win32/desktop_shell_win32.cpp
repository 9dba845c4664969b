#include <windows.h>
#include <wininet.h>  // before shlobj.h: IActiveDesktop needs its types
#include <shlobj.h>

#include <vector>

#include "desktop_shell.h"

namespace zarvane {
namespace {

class ActiveDesktopShell : public DesktopShell {
 public:
  void InitializeCom() override { CoInitialize(nullptr); }
  void UninitializeCom() override { CoUninitialize(); }

  bool CreateActiveDesktop() override {
    desktop_ = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IActiveDesktop, reinterpret_cast<void**>(&desktop_));
    if (FAILED(hr)) desktop_ = nullptr;
    return desktop_ != nullptr;
  }

  void ReleaseActiveDesktop() override {
    if (desktop_) desktop_->Release();
    desktop_ = nullptr;
  }

  void GetWallpaper(std::wstring& wallpaper, unsigned capacity) override {
    if (!desktop_ || capacity == 0) return;
    std::vector<WCHAR> buffer(capacity, 0);
    if (SUCCEEDED(desktop_->GetWallpaper(buffer.data(), capacity, 0))) {
      buffer[capacity - 1] = 0;
      wallpaper = buffer.data();
    }
  }

  bool SetWallpaper(const std::wstring& wallpaper) override {
    return desktop_ && SUCCEEDED(desktop_->SetWallpaper(wallpaper.c_str(), 0));
  }

  bool GetDesktopItemOptions(ComponentsOptions& options) override {
    if (!desktop_) return false;
    COMPONENTSOPT raw = {};
    raw.dwSize = options.size;
    raw.fEnableComponents = options.enableComponents;
    raw.fActiveDesktop = options.activeDesktop;
    if (FAILED(desktop_->GetDesktopItemOptions(&raw, 0))) return false;
    options.enableComponents = raw.fEnableComponents;
    options.activeDesktop = raw.fActiveDesktop;
    return true;
  }

  void SetDesktopItemOptions(const ComponentsOptions& options) override {
    if (!desktop_) return;
    COMPONENTSOPT raw = {};
    raw.dwSize = options.size;
    raw.fEnableComponents = options.enableComponents;
    raw.fActiveDesktop = options.activeDesktop;
    desktop_->SetDesktopItemOptions(&raw, 0);
  }

  bool ApplyChanges(unsigned flags) override {
    return desktop_ && SUCCEEDED(desktop_->ApplyChanges(flags));
  }

 private:
  IActiveDesktop* desktop_ = nullptr;
};

}  // namespace

DesktopShell& SystemDesktopShell() {
  static ActiveDesktopShell shell;
  return shell;
}

}  // namespace zarvane
