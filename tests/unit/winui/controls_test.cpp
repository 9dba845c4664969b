// The tool's custom controls in a dialog of their own, drawn into bitmaps and compared with the
// pictures they are given.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "bitmap_button.h"
#include "picture_ids.h"
#include "tip_panel.h"

namespace zarvane {
namespace {

const int kHostTemplate = 100;
const int kButton = 1037;
const int kPanel = 1033;

struct Image {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

// Draws `paint` into a 24-bit top-down image of the given size.
template <class Paint>
Image Capture(int width, int height, Paint paint) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  paint(dc);
  Image image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return image;
}

Image Picture(int id) {
  HBITMAP picture = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
  BITMAP size{};
  GetObjectA(picture, sizeof size, &size);
  Image image = Capture(size.bmWidth, size.bmHeight, [&](HDC dc) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  });
  DeleteObject(picture);
  return image;
}

Image Drawn(HWND control) {
  RECT r;
  GetClientRect(control, &r);
  return Capture(r.right, r.bottom, [&](HDC dc) {
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  });
}

bool Shows(HWND button, int pictureId) {
  Image drawn = Drawn(button), picture = Picture(pictureId);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (drawn.At(x, y) != picture.At(x, y)) return false;
  return true;
}

void Pump(DWORD milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
}

class Host : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kHostTemplate),
                                 nullptr, Procedure, reinterpret_cast<LPARAM>(this));
    ASSERT_TRUE(dialog_);
    SetWindowPos(Item(kButton), nullptr, 0, 0, 136, 34, SWP_NOMOVE | SWP_NOZORDER);
  }
  void TearDown() override { DestroyWindow(dialog_); }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  void Press(LPARAM at) { SendMessageA(Item(kButton), WM_LBUTTONDOWN, MK_LBUTTON, at); }
  void Release(LPARAM at) { SendMessageA(Item(kButton), WM_LBUTTONUP, 0, at); }

  HWND dialog_ = nullptr;
  int clicks_ = 0;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
    Host* host = reinterpret_cast<Host*>(GetWindowLongPtrA(window, DWLP_USER));
    if (message == WM_COMMAND && LOWORD(wParam) == kButton && HIWORD(wParam) == BN_CLICKED)
      ++host->clicks_;
    if (message == WM_CTLCOLORBTN || message == WM_CTLCOLORSTATIC)
      return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    return FALSE;
  }
};

const LPARAM kInside = MAKELPARAM(10, 10);
const LPARAM kOutside = MAKELPARAM(200, 10);

TEST_F(Host, EachStateShowsItsOwnPicture) {
  const int first = IDB_TAB_WALLPAPER;
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b)
      EXPECT_NE(Picture(first + a).pixels, Picture(first + b).pixels) << a << " " << b;

  BitmapButton button;
  ASSERT_TRUE(button.Attach(dialog_, kButton, BitmapButton::kLatch, first, first + 1, first + 2,
                            first + 3));
  EXPECT_EQ(button.Handle(), Item(kButton));
  EXPECT_TRUE(Shows(button.Handle(), first));

  SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, kInside);
  EXPECT_TRUE(Shows(button.Handle(), first + 1));
  button.SetLatched(true);  // clears hover
  EXPECT_TRUE(button.Latched());
  EXPECT_TRUE(Shows(button.Handle(), first + 2));

  button.SetLatched(false);
  EnableWindow(button.Handle(), FALSE);
  EXPECT_TRUE(Shows(button.Handle(), first + 3));
  button.SetLatched(true);
  EXPECT_TRUE(Shows(button.Handle(), first + 2)) << "the latch shows over disabled";
}

TEST_F(Host, HoverEndsOnceThePointerHasLeft) {
  BitmapButton button;
  ASSERT_TRUE(button.Attach(dialog_, kButton, BitmapButton::kPush, IDB_BUILD_NOW,
                            IDB_BUILD_NOW_HOVER, IDB_BUILD_NOW_LATCHED, IDB_BUILD_NOW_DISABLED));
  SetCursorPos(1000, 700);  // far from the hidden dialog
  SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, kInside);
  EXPECT_TRUE(Shows(button.Handle(), IDB_BUILD_NOW_HOVER));
  Pump(450);
  EXPECT_TRUE(Shows(button.Handle(), IDB_BUILD_NOW));
}

TEST_F(Host, ModesLatchAndClick) {
  {
    BitmapButton push;
    push.Attach(dialog_, kButton, BitmapButton::kPush, IDB_BUILD_NOW, 0, 0, 0);
    Press(kInside);
    EXPECT_TRUE(push.Latched());
    Release(kInside);
    EXPECT_FALSE(push.Latched());
    EXPECT_EQ(clicks_, 1);
    Press(kInside);
    Release(kOutside);
    EXPECT_EQ(clicks_, 1) << "a push button released elsewhere does nothing";
  }
  clicks_ = 0;
  {
    BitmapButton toggle;
    toggle.Attach(dialog_, kButton, BitmapButton::kToggle, IDB_BROWSE, 0, 0, 0);
    Press(kInside);
    Release(kInside);
    EXPECT_TRUE(toggle.Latched());
    Press(kInside);
    Release(kOutside);
    EXPECT_FALSE(toggle.Latched());
    EXPECT_EQ(clicks_, 2) << "released outside, the button reports the click itself";
  }
  clicks_ = 0;
  {
    BitmapButton latch;
    latch.Attach(dialog_, kButton, BitmapButton::kLatch, IDB_TAB_INSTALLER, 0, 0, 0);
    Press(kInside);
    Release(kOutside);
    Press(kInside);
    Release(kInside);
    EXPECT_TRUE(latch.Latched());
    EXPECT_EQ(clicks_, 2);
    SendMessageA(latch.Handle(), BM_CLICK, 0, 0);  // how the dialog answers Alt+mnemonic
    EXPECT_EQ(clicks_, 3);
  }
}

TEST_F(Host, TipPanelDrawsTitleTextAndPicture) {
  TipPanel panel;
  ASSERT_TRUE(panel.Attach(dialog_, kPanel, IDB_TIP_PICTURE));
  std::string longText;
  for (int i = 0; i < 60; ++i) longText += "Specify a Flash movie to be used as a wallpaper. ";
  panel.SetTip("Tips", longText);
  char shown[8192] = {};
  GetWindowTextA(Item(kPanel), shown, sizeof shown);
  EXPECT_EQ(std::string(shown), "Tips\n" + longText);
  Image drawn = Drawn(Item(kPanel));
  const int w = drawn.width, h = drawn.height;

  EXPECT_EQ(drawn.At(0, 0), RGB(255, 177, 125));
  EXPECT_EQ(drawn.At(w - 1, h / 2), RGB(255, 177, 125));
  EXPECT_EQ(drawn.At(w / 2, h - 1), RGB(255, 177, 125));

  Image picture = Picture(IDB_TIP_PICTURE);
  ASSERT_EQ(picture.width, 32);
  ASSERT_EQ(picture.height, 42);
  // The text may run over the picture's top three rows, where it ends.
  for (int y = 3; y < 42; ++y)
    for (int x = 0; x < 32; ++x)
      ASSERT_EQ(drawn.At(w - 39 + x, h - 47 + y), picture.At(x, y)) << x << "," << y;

  auto count = [&](COLORREF colour, int top, int bottom, int left, int right) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += drawn.At(x, y) == colour;
    return n;
  };
  // The title is centred: its colour sits on both sides of the middle, on the top line only.
  EXPECT_GT(count(RGB(121, 172, 198), 2, 18, 2, w / 2), 0);
  EXPECT_GT(count(RGB(121, 172, 198), 2, 18, w / 2, w - 2), 0);
  EXPECT_EQ(count(RGB(121, 172, 198), 20, h, 0, w), 0);
  // The text fills the middle and stops 44 pixels above the bottom edge.
  EXPECT_GT(count(RGB(128, 128, 128), 20, h - 44, 3, w - 3), 100);
  EXPECT_EQ(count(RGB(128, 128, 128), h - 44, h - 1, 1, w - 40), 0);
}

// The other windows are laid out around these sizes.
TEST(Pictures, EveryPictureHasItsSizeAndTheIconCursorAndSoundLoad) {
  struct Size {
    int first, count, width, height;
  } sizes[] = {
      {IDB_TOP_BANNER, 1, 612, 42},        {IDB_BOTTOM_BANNER, 1, 612, 23},
      {IDB_TAB_WALLPAPER, 12, 136, 34},    {IDB_MENU_PROJECT, 8, 72, 22},
      {IDB_BUILD_NOW, 4, 104, 24},         {IDB_BROWSE, 4, 64, 20},
      {IDB_PREVIEW, 8, 88, 24},            {IDB_COLOUR, 8, 24, 20},
      {IDB_TIP_PICTURE, 1, 32, 42},        {IDB_CAPTION_WALLPAPER, 8, 440, 20},
      {IDB_ABOUT_PICTURE, 1, 286, 64},     {IDB_PREVIEW_WARNING_PICTURE, 1, 300, 48},
  };
  for (const Size& s : sizes)
    for (int id = s.first; id < s.first + s.count; ++id) {
      Image picture = Picture(id);
      EXPECT_EQ(picture.width, s.width) << id;
      EXPECT_EQ(picture.height, s.height) << id;
    }

  HINSTANCE program = GetModuleHandleA(nullptr);
  for (int size : {16, 32, 48}) {
    HICON icon = static_cast<HICON>(
        LoadImageA(program, MAKEINTRESOURCEA(IDI_ZARVANE), IMAGE_ICON, size, size, 0));
    ICONINFO info{};
    ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << size;
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  EXPECT_TRUE(LoadCursorA(program, MAKEINTRESOURCEA(IDC_LINK_HAND)));
  HRSRC sound = FindResourceA(program, MAKEINTRESOURCEA(IDW_CLICK), "WAVE");
  ASSERT_TRUE(sound);
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(program, sound)));
  EXPECT_EQ(std::string(bytes, 4), "RIFF");
  EXPECT_LT(SizeofResource(program, sound), 10u * 1024);
}

}  // namespace
}  // namespace zarvane
