#include "picture.h"

#include <cstring>
#include <map>

#include "dpi.h"
#include "packed_resource.h"

namespace zarvane {

namespace {

// A packed DIB as Windows keeps a BITMAP resource: header, colour table, rows. Null when its
// header does not fit the bytes.
HBITMAP FromPackedDib(const std::vector<unsigned char>& dib) {
  BITMAPINFOHEADER header;
  if (dib.size() < sizeof header) return nullptr;
  std::memcpy(&header, dib.data(), sizeof header);
  if (header.biSize < sizeof header || header.biSize > dib.size() || header.biWidth <= 0 ||
      header.biHeight == 0 || header.biPlanes != 1 || header.biCompression != BI_RGB)
    return nullptr;
  const unsigned bits = header.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  std::size_t colours = header.biClrUsed ? header.biClrUsed : bits <= 8 ? (1u << bits) : 0;
  const std::size_t table = header.biSize + colours * sizeof(RGBQUAD);
  const std::size_t rows = header.biHeight < 0 ? std::size_t(-header.biHeight) : header.biHeight;
  const std::size_t stride = (std::size_t(header.biWidth) * bits + 31) / 32 * 4;
  if (table > dib.size() || rows > (dib.size() - table) / stride) return nullptr;

  const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap) std::memcpy(pixels, dib.data() + table, stride * rows);
  return bitmap;
}

// sz_Or_Ord of a dialog template: 0 (none), 0xFFFF and an ordinal, or a string. Gives the ordinal
// (0 for the other forms) and steps past the field; false past the end.
bool ReadNameOrOrdinal(const WORD*& at, const WORD* end, WORD& ordinal, bool* isStatic = nullptr) {
  ordinal = 0;
  if (isStatic) *isStatic = false;
  if (at >= end) return false;
  if (*at == 0xFFFF) {
    if (end - at < 2) return false;
    ordinal = at[1];
    at += 2;
    return true;
  }
  const WORD* name = at;
  while (at < end && *at) ++at;
  if (at >= end) return false;
  if (isStatic && at - name == 6) {
    const char* word = "static";
    *isStatic = true;
    for (int i = 0; i < 6; ++i)
      if ((name[i] | 0x20) != WORD(word[i])) *isStatic = false;
  }
  ++at;
  return true;
}

}  // namespace

HBITMAP LoadPicture(int id) {
  if (const std::vector<unsigned char>* dib = ExpandedResource(id, "PACKED_BITMAP"))
    return FromPackedDib(*dib);
  return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

HBITMAP LoadPictureForDpi(int id, int dpi) {
  HBITMAP picture = LoadPicture(id);
  if (!picture || dpi == kBaseDpi) return picture;
  BITMAP size;
  GetObjectA(picture, sizeof size, &size);
  HBITMAP scaled =
      ScalePicture(picture, DpiScale(dpi, size.bmWidth), DpiScale(dpi, size.bmHeight));
  if (!scaled) return picture;
  DeleteObject(picture);
  return scaled;
}

void ShowTemplatePictures(HWND dialog, int templateId) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL loaded = found ? LoadResource(self, found) : nullptr;
  const WORD* start = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
  if (!start) return;
  const WORD* end = start + SizeofResource(self, found) / sizeof(WORD);
  const WORD* at = start;
  const bool extended = end - at >= 2 && at[0] == 1 && at[1] == 0xFFFF;
  // Header up to the item count: DLGTEMPLATEEX or DLGTEMPLATE.
  const std::ptrdiff_t countAt = extended ? 8 : 4;
  if (end - at < countAt + 5) return;
  DWORD style;
  std::memcpy(&style, at + (extended ? 6 : 0), sizeof style);
  const WORD items = at[countAt];
  at += countAt + 5;
  WORD ordinal;
  if (!ReadNameOrOrdinal(at, end, ordinal) || !ReadNameOrOrdinal(at, end, ordinal) ||
      !ReadNameOrOrdinal(at, end, ordinal))
    return;
  if (style & DS_SETFONT) {
    at += extended ? 3 : 1;  // point size; weight, italic and character set
    if (!ReadNameOrOrdinal(at, end, ordinal)) return;
  }

  const int dpi = DpiOf(dialog);
  static std::map<std::pair<int, int>, HBITMAP> shown;  // by picture and DPI
  // The dialog manager creates the items in template order, each below the one before.
  HWND child = GetWindow(dialog, GW_CHILD);
  for (WORD item = 0; item < items && child; ++item) {
    at = start + ((at - start) + 1) / 2 * 2;  // items start on a DWORD boundary
    if (end - at < (extended ? 12 : 9)) return;
    DWORD itemStyle;
    std::memcpy(&itemStyle, at + (extended ? 4 : 0), sizeof itemStyle);
    at += extended ? 12 : 9;  // to the window class
    WORD kind, picture;
    bool namedStatic;
    if (!ReadNameOrOrdinal(at, end, kind, &namedStatic) || !ReadNameOrOrdinal(at, end, picture) ||
        at >= end)
      return;
    at += 1 + (*at + 1) / 2;  // creation data: its size in bytes, then the bytes
    if ((kind == 0x0082 || namedStatic) && (itemStyle & SS_TYPEMASK) == SS_BITMAP && picture &&
        !SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0)) {
      HBITMAP& bitmap = shown[{picture, dpi}];
      if (!bitmap) bitmap = LoadPictureForDpi(picture, dpi);
      if (bitmap) SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
}

}  // namespace zarvane
