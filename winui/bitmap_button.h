#pragma once
// An owner-drawn button that shows one of four pictures: normal, hover, latched, disabled.
// It subclasses the template's button, so the dialog needs to do nothing for it: the button
// paints itself, tracks the pointer with its own timer and plays the click sound.
#include <windows.h>

namespace zarvane {

class BitmapButton {
 public:
  enum Mode { kPush = 0, kToggle = 1, kLatch = 2 };
  enum : UINT_PTR { kHoverTimer = 4000 };
  enum : int { kClickSound = 199 };

  BitmapButton() = default;
  ~BitmapButton();
  BitmapButton(const BitmapButton&) = delete;
  BitmapButton& operator=(const BitmapButton&) = delete;

  // Takes over the dialog's button `id` (BS_OWNERDRAW in the template); pictures are bitmap
  // resource ids of the running program, 0 for none. Needs nothing else from the dialog.
  bool Attach(HWND dialog, int id, Mode mode, int normal, int hover, int latched, int disabled);
  void SetLatched(bool latched);  // clears hover, repaints at once
  bool Latched() const { return latched_; }
  HWND Handle() const { return window_; }

 private:
  enum Picture { kNormal, kHover, kLatched, kDisabled, kPictureCount };
  static LRESULT Subclass(void* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Receive(UINT message, WPARAM wParam, LPARAM lParam);
  void OnButtonDown();
  void OnButtonUp(bool pressedHere, LPARAM releasePoint);
  void OnMouseMove();
  void OnHoverTick();
  HBITMAP PictureFor(Picture picture);
  void Paint(HDC dc);
  void Repaint();
  void Detach();

  HWND window_ = nullptr;
  Mode mode_ = kPush;
  int pictureIds_[kPictureCount] = {};
  HBITMAP pictures_[kPictureCount] = {};  // loaded when first shown: most never are
  bool hover_ = false;
  bool latched_ = false;
};

}  // namespace zarvane
