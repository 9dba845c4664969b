#pragma once
#include <windows.h>

namespace zarvane {

// Bitmap resource `id` of the running program, null when there is none. Kept as the device-
// independent bitmap it is stored as: far quicker to load under Wine than a screen bitmap, and
// BitBlt paints it the same.
inline HBITMAP LoadPicture(int id) {
  return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace zarvane
