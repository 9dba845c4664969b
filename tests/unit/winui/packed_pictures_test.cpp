// The pictures the tool stores compressed, expanded and compared bit for bit with the same
// pictures as Windows loads them itself; the walk that gives a dialog's picture statics their
// compressed pictures; and the smooth scaling that draws them for other DPIs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "dpi.h"
#include "picture.h"

namespace zarvane {
namespace {

struct Pixels {
  int width = 0, height = 0, bits = 0;
  std::vector<unsigned char> rows;
};

Pixels Read(HBITMAP bitmap) {
  Pixels pixels;
  DIBSECTION section{};
  if (!bitmap || GetObjectA(bitmap, sizeof section, &section) != sizeof section) return pixels;
  pixels.width = section.dsBm.bmWidth;
  pixels.height = section.dsBm.bmHeight;
  pixels.bits = section.dsBm.bmBitsPixel;
  const unsigned char* bits = static_cast<const unsigned char*>(section.dsBm.bmBits);
  pixels.rows.assign(bits, bits + section.dsBm.bmWidthBytes * section.dsBm.bmHeight);
  return pixels;
}

Pixels Plain(int id) {
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  Pixels pixels = Read(bitmap);
  if (bitmap) DeleteObject(bitmap);
  return pixels;
}

BOOL CALLBACK Collect(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::vector<int>*>(ids)->push_back(int(reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

TEST(PackedPictures, ExpandToTheSameBitsAsThePlainPictures) {
  std::vector<int> ids;
  EnumResourceNamesA(GetModuleHandleA(nullptr), "PACKED_BITMAP", Collect,
                     reinterpret_cast<LONG_PTR>(&ids));
  ASSERT_GE(ids.size(), 58u);  // the tool's 57 and the packed-only one
  for (int id : ids) {
    if (id == 900) continue;
    SCOPED_TRACE(id);
    const Pixels plain = Plain(id);
    ASSERT_GT(plain.width, 0);
    HBITMAP packed = LoadPicture(id);
    const Pixels expanded = Read(packed);
    EXPECT_EQ(expanded.width, plain.width);
    EXPECT_EQ(expanded.height, plain.height);
    EXPECT_EQ(expanded.bits, plain.bits);
    EXPECT_TRUE(expanded.rows == plain.rows);
    DeleteObject(packed);
  }
  EXPECT_EQ(Read(LoadPicture(900)).rows, Plain(380).rows);
  EXPECT_EQ(LoadPicture(901), nullptr);
}

INT_PTR CALLBACK Ignore(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(PackedPictures, TemplateStaticsGetTheirPictures) {
  HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100), nullptr,
                                   Ignore, 0);
  ASSERT_NE(dialog, nullptr);
  HWND loadedByWindows = GetDlgItem(dialog, 3);
  const LRESULT own = SendMessageA(loadedByWindows, STM_GETIMAGE, IMAGE_BITMAP, 0);
  ASSERT_NE(own, 0);
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 2), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

  ShowTemplatePictures(dialog, 100);
  const Pixels about = Plain(380);
  for (int id : {2, 4}) {
    SCOPED_TRACE(id);
    HWND item = GetDlgItem(dialog, id);
    HBITMAP shown = reinterpret_cast<HBITMAP>(SendMessageA(item, STM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_TRUE(Read(shown).rows == about.rows);
    RECT size;
    GetClientRect(item, &size);
    EXPECT_EQ(size.right, about.width);  // sized to the picture, as a loaded one would be
    EXPECT_EQ(size.bottom, about.height);
  }
  EXPECT_EQ(SendMessageA(loadedByWindows, STM_GETIMAGE, IMAGE_BITMAP, 0), own);
  DestroyWindow(dialog);
}

// A 32-bit picture of `width` x `height` whose left half is `left` and right half `right`.
HBITMAP TwoColours(int width, int height, COLORREF left, COLORREF right) {
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  DWORD* pixel = static_cast<DWORD*>(bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      COLORREF c = x < width / 2 ? left : right;
      pixel[y * width + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }
  return bitmap;
}

COLORREF At(const Pixels& p, int x, int y) {
  const unsigned char* q = &p.rows[(y * p.width + x) * 4];  // a scaled picture is top-down
  return RGB(q[2], q[1], q[0]);
}

// Rounding must not shift a flat colour (a banner's ground would show seams), and each side of
// an edge keeps its colour where the edge is not: larger by DPI factors, smaller too.
TEST(ScalePicture, KeepsFlatColoursAndBothSidesOfAnEdge) {
  const COLORREF flat = RGB(13, 57, 201), left = RGB(250, 204, 92), right = RGB(14, 30, 72);
  HBITMAP flatPicture = TwoColours(24, 10, flat, flat);
  HBITMAP edge = TwoColours(24, 10, left, right);
  for (int percent : {125, 150, 200, 75, 50}) {
    SCOPED_TRACE(percent);
    const int width = 24 * percent / 100, height = 10 * percent / 100;
    HBITMAP scaled = ScalePicture(flatPicture, width, height);
    const Pixels p = Read(scaled);
    ASSERT_EQ(p.width, width);
    ASSERT_EQ(p.height, height);
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) ASSERT_EQ(At(p, x, y), flat) << x << "," << y;
    DeleteObject(scaled);

    scaled = ScalePicture(edge, width, height);
    const Pixels e = Read(scaled);
    EXPECT_EQ(At(e, 0, 0), left);
    EXPECT_EQ(At(e, width - 1, height - 1), right);
    EXPECT_EQ(At(e, width / 4, height / 2), left);
    EXPECT_EQ(At(e, width - 1 - width / 4, height / 2), right);
    DeleteObject(scaled);
  }
  DeleteObject(flatPicture);
  DeleteObject(edge);
}

}  // namespace
}  // namespace zarvane
