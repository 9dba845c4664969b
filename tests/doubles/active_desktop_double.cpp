// Stand-in for the shell's Active Desktop object, registered under CLSID_ActiveDesktop in a test
// Wine prefix (Wine's own returns E_NOTIMPL for everything). It keeps the desktop's wallpaper and
// options in desktop-state.txt, so a later process sees what an earlier one applied, and writes
// every call with its arguments to desktop.log in call order.
//
// Like the shell, an object works on its own copy of the state, loaded when it is created;
// ApplyChanges (any flags) makes the copy the desktop's state, and an object released without
// ApplyChanges changes nothing.
#include <windows.h>
#include <wininet.h>  // before shlobj.h: IActiveDesktop needs its types
#include <shlobj.h>
#include <olectl.h>

#include <string>

#include "double_support.h"

namespace zarvane::doubles {
namespace {

constexpr char kLog[] = "desktop.log";
constexpr char kState[] = "desktop-state.txt";
constexpr char kClsid[] = "{75048700-EF1F-11D0-9888-006097DEACF9}";

HMODULE thisModule = nullptr;

struct DesktopState {
  std::wstring wallpaper;  // "" until something sets one, as on a fresh Windows desktop
  BOOL enableComponents = FALSE;
  BOOL activeDesktop = FALSE;
  bool failGetOptions = false;  // preset: GetDesktopItemOptions reports E_FAIL

  static DesktopState Load() {
    auto settings = ReadSettings(kState);
    DesktopState state;
    state.wallpaper = Wide(settings["Wallpaper"]);
    state.enableComponents = settings["EnableComponents"] == "1";
    state.activeDesktop = settings["ActiveDesktop"] == "1";
    state.failGetOptions = settings["FailGetDesktopItemOptions"] == "1";
    return state;
  }

  void Save() const {
    auto settings = ReadSettings(kState);  // keeps presets this object does not model
    settings["Wallpaper"] = Utf8(wallpaper.c_str());
    settings["EnableComponents"] = enableComponents ? "1" : "0";
    settings["ActiveDesktop"] = activeDesktop ? "1" : "0";
    WriteSettings(kState, settings);
  }
};

std::string Options(const COMPONENTSOPT* options) {
  return std::to_string(options->dwSize) + " " + std::to_string(options->fEnableComponents) + " " +
         std::to_string(options->fActiveDesktop);
}

class ActiveDesktopDouble final : public IActiveDesktop {
 public:
  ActiveDesktopDouble() : state_(DesktopState::Load()) {
    InterlockedIncrement(&moduleUsers);
    AppendLog(kLog, "Create");
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IActiveDesktop)) {
      *out = static_cast<IActiveDesktop*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) {
      AppendLog(kLog, "Release");
      delete this;
      InterlockedDecrement(&moduleUsers);
    }
    return refs;
  }

  HRESULT STDMETHODCALLTYPE ApplyChanges(DWORD flags) override {
    AppendLog(kLog, "ApplyChanges " + std::to_string(flags));
    state_.Save();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetWallpaper(PWSTR wallpaper, UINT capacity, DWORD flags) override {
    std::string call = "GetWallpaper " + std::to_string(capacity) + " " + std::to_string(flags);
    if (!wallpaper || capacity == 0) {
      AppendLog(kLog, call + " -> E_INVALIDARG");
      return E_INVALIDARG;
    }
    lstrcpynW(wallpaper, state_.wallpaper.c_str(), static_cast<int>(capacity));
    AppendLog(kLog, call + " -> " + Quoted(Utf8(wallpaper)));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetWallpaper(PCWSTR wallpaper, DWORD reserved) override {
    if (!wallpaper) {
      AppendLog(kLog, "SetWallpaper null " + std::to_string(reserved) + " -> E_INVALIDARG");
      return E_INVALIDARG;
    }
    state_.wallpaper = wallpaper;
    AppendLog(kLog, "SetWallpaper " + Quoted(Utf8(wallpaper)) + " " + std::to_string(reserved));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetDesktopItemOptions(LPCOMPONENTSOPT options, DWORD reserved) override {
    std::string call = "GetDesktopItemOptions ";
    if (!options || options->dwSize != sizeof(COMPONENTSOPT)) {
      AppendLog(kLog, call + (options ? std::to_string(options->dwSize) : "null") + " " +
                          std::to_string(reserved) + " -> E_INVALIDARG");
      return E_INVALIDARG;
    }
    call += std::to_string(options->dwSize) + " " + std::to_string(reserved);
    if (state_.failGetOptions) {
      AppendLog(kLog, call + " -> E_FAIL");
      return E_FAIL;
    }
    options->fEnableComponents = state_.enableComponents;
    options->fActiveDesktop = state_.activeDesktop;
    AppendLog(kLog, call + " -> " + std::to_string(options->fEnableComponents) + " " +
                        std::to_string(options->fActiveDesktop));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetDesktopItemOptions(LPCCOMPONENTSOPT options, DWORD reserved) override {
    if (!options || options->dwSize != sizeof(COMPONENTSOPT)) {
      AppendLog(kLog, "SetDesktopItemOptions " +
                          (options ? std::to_string(options->dwSize) : std::string("null")) + " " +
                          std::to_string(reserved) + " -> E_INVALIDARG");
      return E_INVALIDARG;
    }
    state_.enableComponents = options->fEnableComponents;
    state_.activeDesktop = options->fActiveDesktop;
    AppendLog(kLog, "SetDesktopItemOptions " + Options(options) + " " + std::to_string(reserved));
    return S_OK;
  }

  // The rest of the interface is not used by the programs under test: recorded, not implemented.
  HRESULT STDMETHODCALLTYPE GetWallpaperOptions(LPWALLPAPEROPT, DWORD) override {
    return NotUsed("GetWallpaperOptions");
  }
  HRESULT STDMETHODCALLTYPE SetWallpaperOptions(LPCWALLPAPEROPT, DWORD) override {
    return NotUsed("SetWallpaperOptions");
  }
  HRESULT STDMETHODCALLTYPE GetPattern(PWSTR, UINT, DWORD) override { return NotUsed("GetPattern"); }
  HRESULT STDMETHODCALLTYPE SetPattern(PCWSTR, DWORD) override { return NotUsed("SetPattern"); }
  HRESULT STDMETHODCALLTYPE AddDesktopItem(LPCCOMPONENT, DWORD) override {
    return NotUsed("AddDesktopItem");
  }
  HRESULT STDMETHODCALLTYPE AddDesktopItemWithUI(HWND, LPCOMPONENT, DWORD) override {
    return NotUsed("AddDesktopItemWithUI");
  }
  HRESULT STDMETHODCALLTYPE ModifyDesktopItem(LPCCOMPONENT, DWORD) override {
    return NotUsed("ModifyDesktopItem");
  }
  HRESULT STDMETHODCALLTYPE RemoveDesktopItem(LPCCOMPONENT, DWORD) override {
    return NotUsed("RemoveDesktopItem");
  }
  HRESULT STDMETHODCALLTYPE GetDesktopItemCount(int*, DWORD) override {
    return NotUsed("GetDesktopItemCount");
  }
  HRESULT STDMETHODCALLTYPE GetDesktopItem(int, LPCOMPONENT, DWORD) override {
    return NotUsed("GetDesktopItem");
  }
  HRESULT STDMETHODCALLTYPE GetDesktopItemByID(ULONG_PTR, LPCOMPONENT, DWORD) override {
    return NotUsed("GetDesktopItemByID");
  }
  HRESULT STDMETHODCALLTYPE GenerateDesktopItemHtml(PCWSTR, LPCOMPONENT, DWORD) override {
    return NotUsed("GenerateDesktopItemHtml");
  }
  HRESULT STDMETHODCALLTYPE AddUrl(HWND, PCWSTR, LPCOMPONENT, DWORD) override {
    return NotUsed("AddUrl");
  }
  HRESULT STDMETHODCALLTYPE GetDesktopItemBySource(PCWSTR, LPCOMPONENT, DWORD) override {
    return NotUsed("GetDesktopItemBySource");
  }

 private:
  HRESULT NotUsed(const char* method) {
    AppendLog(kLog, std::string(method) + " -> E_NOTIMPL");
    return E_NOTIMPL;
  }

  LONG refs_ = 1;
  DesktopState state_;
};

HRESULT CreateActiveDesktop(REFIID iid, void** out) {
  auto* desktop = new ActiveDesktopDouble;
  HRESULT hr = desktop->QueryInterface(iid, out);
  desktop->Release();
  return hr;
}

}  // namespace
}  // namespace zarvane::doubles

using namespace zarvane::doubles;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    thisModule = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return ClassObjectFor(clsid, CLSID_ActiveDesktop, CreateActiveDesktop, iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return moduleUsers == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  AppendLog(kLog, "DllRegisterServer");
  return RegisterInprocServer(kClsid, "ActiveDesktop", ModulePath(thisModule)) ? S_OK
                                                                              : SELFREG_E_CLASS;
}

// Puts Wine's own registration back: shell32 serves the class again.
extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  AppendLog(kLog, "DllUnregisterServer");
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, sizeof system);
  return RegisterInprocServer(kClsid, "ActiveDesktop", std::string(system) + "\\shell32.dll")
             ? S_OK
             : SELFREG_E_CLASS;
}
