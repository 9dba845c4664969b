// The resource is loaded as a display-compatible bitmap, so the file takes the display's format.
#include <windows.h>

#include <vector>

#include "preview_bitmap.h"

namespace zarvane {

bool WriteBitmapResource(int id, const std::string& path) {
  HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
  if (!bitmap) return false;
  BITMAP info = {};
  if (!GetObjectA(bitmap, sizeof info, &info)) {
    DeleteObject(bitmap);
    return false;
  }
  const BmpLayout layout = LayoutFor(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel);
  const std::string header =
      InfoHeader(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel, layout);
  std::vector<unsigned char> headerAndTable(header.size() + layout.tableRoom * sizeof(RGBQUAD), 0);
  std::copy(header.begin(), header.end(), headerAndTable.begin());
  std::vector<unsigned char> pixels(layout.imageSize, 0);

  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, UINT(info.bmHeight), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(headerAndTable.data()), DIB_RGB_COLORS);

  // The header as GetDIBits left it decides what is written.
  const BITMAPINFOHEADER* filled = reinterpret_cast<const BITMAPINFOHEADER*>(headerAndTable.data());
  const DWORD tableBytes = filled->biClrUsed * sizeof(RGBQUAD);
  const DWORD headerBytes = filled->biSize + tableBytes;
  BmpLayout written = layout;
  written.pixelOffset = 14 + headerBytes;
  written.fileSize = written.pixelOffset + filled->biSizeImage;
  const std::string fileHeader = FileHeader(written);

  bool ok = false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE && headerBytes <= headerAndTable.size() &&
      filled->biSizeImage <= pixels.size()) {
    DWORD n = 0;
    ok = WriteFile(file, fileHeader.data(), DWORD(fileHeader.size()), &n, nullptr) &&
         n == fileHeader.size();
    ok = ok && WriteFile(file, headerAndTable.data(), headerBytes, &n, nullptr) && n == headerBytes;
    ok = ok && WriteFile(file, pixels.data(), filled->biSizeImage, &n, nullptr) &&
         n == filled->biSizeImage;
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  return ok;
}

}  // namespace zarvane
