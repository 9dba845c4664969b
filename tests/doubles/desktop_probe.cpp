// desktop_probe get | set PATH: one Active Desktop call per process, so tests can see state
// cross process boundaries. Prints the wallpaper after the call; exit 1 when COM fails.
#include <windows.h>
#include <wininet.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  bool set = argc == 3 && std::strcmp(argv[1], "set") == 0;
  if (!set && !(argc == 2 && std::strcmp(argv[1], "get") == 0)) {
    std::fprintf(stderr, "usage: desktop_probe get | set PATH\n");
    return 2;
  }
  CoInitialize(nullptr);
  IActiveDesktop* desktop = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IActiveDesktop, reinterpret_cast<void**>(&desktop));
  if (SUCCEEDED(hr) && set) {
    WCHAR path[1024];
    MultiByteToWideChar(CP_ACP, 0, argv[2], -1, path, 1024);
    hr = desktop->SetWallpaper(path, 0);
    if (SUCCEEDED(hr)) hr = desktop->ApplyChanges(AD_APPLY_ALL);
  }
  WCHAR wallpaper[1024] = L"";
  if (SUCCEEDED(hr)) hr = desktop->GetWallpaper(wallpaper, 1024, 0);
  if (desktop) desktop->Release();
  CoUninitialize();
  if (FAILED(hr)) {
    std::fprintf(stderr, "desktop_probe: 0x%08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  std::printf("%ls\n", wallpaper);
  return 0;
}
