#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "image_wallpaper.h"

namespace zarvane {
namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
// IID_IPicture, here rather than from libuuid, whose object holding it defines ids the installer
// defines itself.
const IID kPictureId = {0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

bool ReadText(HKEY key, const char* name, std::string& text) {
  char buffer[1024] = {0};
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return false;
  text = buffer;
  return true;
}

bool WriteText(HKEY key, const char* name, const std::string& text, bool present) {
  if (!present) {
    LONG result = RegDeleteValueA(key, name);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool PixelsOf(HBITMAP bitmap, Picture& picture) {
  BITMAP info = {};
  if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
    return false;
  BITMAPINFO header = {};
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = info.bmWidth;
  header.bmiHeader.biHeight = -info.bmHeight;  // top row first
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &header, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != info.bmHeight) return false;
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;  // BGRA in memory is 0x00RRGGBB
  picture.width = info.bmWidth;
  picture.height = info.bmHeight;
  picture.pixels.swap(pixels);
  return true;
}

class SystemImage : public ImageWallpaper {
 public:
  unsigned WindowsMajorVersion() override { return Version().dwMajorVersion; }
  unsigned WindowsMinorVersion() override { return Version().dwMinorVersion; }

  bool Read(ImageWallpaperState& state) override {
    char wallpaper[MAX_PATH * 2] = {0};
    if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof wallpaper, wallpaper, 0))
      return false;
    state = ImageWallpaperState();
    state.wallpaper = wallpaper;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
      state.hasStyle = ReadText(key, "WallpaperStyle", state.style);
      state.hasTile = ReadText(key, "TileWallpaper", state.tile);
      RegCloseKey(key);
    }
    return true;
  }

  bool Write(const ImageWallpaperState& state) override {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
      return false;
    bool ok = WriteText(key, "WallpaperStyle", state.style, state.hasStyle);
    ok = WriteText(key, "TileWallpaper", state.tile, state.hasTile) && ok;
    RegCloseKey(key);
    std::string path = state.wallpaper;
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &path[0],
                                 SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) &&
           ok;
  }

  void ScreenSize(int& width, int& height) override {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
  }

  bool LoadPicture(const std::string& path, Picture& picture) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    HGLOBAL memory = size && size != INVALID_FILE_SIZE ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
    DWORD got = 0;
    bool read = false;
    if (memory) {
      void* bytes = GlobalLock(memory);
      read = bytes && ReadFile(file, bytes, size, &got, nullptr) && got == size;
      GlobalUnlock(memory);
    }
    CloseHandle(file);
    if (!read) {
      if (memory) GlobalFree(memory);
      return false;
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
      GlobalFree(memory);
      return false;
    }
    CoInitialize(nullptr);
    IPicture* loaded = nullptr;
    bool ok = false;
    // Looked up: the automation library of the first Windows 95 lacks it, and the installer must
    // still start there.
    using LoadFunction = HRESULT(WINAPI*)(IStream*, LONG, BOOL, REFIID, void**);
    HMODULE automation = LoadLibraryA("oleaut32.dll");
    auto load = automation ? reinterpret_cast<LoadFunction>(reinterpret_cast<void (*)()>(
                                 GetProcAddress(automation, "OleLoadPicture")))
                           : nullptr;
    if (load &&
        SUCCEEDED(load(stream, static_cast<LONG>(size), FALSE, kPictureId,
                       reinterpret_cast<void**>(&loaded))) &&
        loaded) {
      SHORT type = PICTYPE_UNINITIALIZED;
      OLE_HANDLE handle = 0;
      if (SUCCEEDED(loaded->get_Type(&type)) && type == PICTYPE_BITMAP &&
          SUCCEEDED(loaded->get_Handle(&handle)))
        ok = PixelsOf(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), picture);
      loaded->Release();
    }
    stream->Release();
    CoUninitialize();
    return ok;
  }

 private:
  // The system's own version: GetVersionEx says 6.2 to every program not declared for 8.1 or 10.
  static OSVERSIONINFOW Version() {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    typedef LONG(WINAPI * GetVersionFunction)(OSVERSIONINFOW*);
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    auto get = ntdll ? reinterpret_cast<GetVersionFunction>(reinterpret_cast<void (*)()>(
                           GetProcAddress(ntdll, "RtlGetVersion")))
                     : nullptr;
    if (!get || get(&version) != 0) GetVersionExW(&version);
    return version;
  }
};

}  // namespace

ImageWallpaper& SystemImageWallpaper() {
  static SystemImage wallpaper;
  return wallpaper;
}

}  // namespace zarvane
