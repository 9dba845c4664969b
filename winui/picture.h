#pragma once
#include <windows.h>

namespace zarvane {

// Picture `id` of the running program, null when there is none: resource "PACKED_BITMAP" `id`
// (expanded once per run) or else BITMAP `id`. Kept as the device-independent bitmap it is stored
// as: far quicker to load under Wine than a screen bitmap, and BitBlt paints it the same. The
// caller deletes it.
HBITMAP LoadPicture(int id);
// The same for `dpi`: as stored at 96 DPI, else scaled smooth by dpi / 96.
HBITMAP LoadPictureForDpi(int id, int dpi);

// The dialog template `templateId` names its SS_BITMAP statics' pictures; the dialog manager only
// finds plain BITMAP resources. Gives each such static of `dialog` that is still empty its packed
// picture for the dialog's DPI, which stays for the rest of the run. Call first thing on WM_INITDIALOG, so that layout
// code sees the statics sized to their pictures.
void ShowTemplatePictures(HWND dialog, int templateId);

}  // namespace zarvane
