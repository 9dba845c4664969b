// The interface and class ids the installer uses, defined here rather than taken from libuuid:
// that library keeps hundreds of ids in one object file, and linking one id pulls in all of them
// (some 40 KB). Should another id be needed, the link fails with a duplicate definition rather
// than growing quietly; add the id here.
#include <windows.h>
#include <wininet.h>  // before shlobj.h: IActiveDesktop needs its types
#include <shlobj.h>
#include <ocidl.h>

#define ZARVANE_ID(name, d1, d2, d3, ...) \
  extern "C" const GUID name = {d1, d2, d3, {__VA_ARGS__}};

#define ZARVANE_OLE_ID(name, d1) ZARVANE_ID(name, d1, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)

ZARVANE_ID(GUID_NULL, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)
ZARVANE_OLE_ID(IID_IUnknown, 0x00000000)
ZARVANE_OLE_ID(IID_IDispatch, 0x00020400)
ZARVANE_OLE_ID(IID_IOleObject, 0x00000112)
ZARVANE_OLE_ID(IID_IOleInPlaceObject, 0x00000113)
ZARVANE_OLE_ID(IID_IOleWindow, 0x00000114)
ZARVANE_OLE_ID(IID_IOleInPlaceUIWindow, 0x00000115)
ZARVANE_OLE_ID(IID_IOleInPlaceFrame, 0x00000116)
ZARVANE_OLE_ID(IID_IOleClientSite, 0x00000118)
ZARVANE_OLE_ID(IID_IOleInPlaceSite, 0x00000119)
ZARVANE_ID(IID_IPersistStreamInit, 0x7FD52380, 0x4E07, 0x101B, 0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E,
           0xC7, 0x13)
ZARVANE_ID(CLSID_ActiveDesktop, 0x75048700, 0xEF1F, 0x11D0, 0x98, 0x88, 0x00, 0x60, 0x97, 0xDE,
           0xAC, 0xF9)
ZARVANE_ID(IID_IActiveDesktop, 0xF490EB00, 0x1240, 0x11D1, 0x98, 0x88, 0x00, 0x60, 0x97, 0xDE,
           0xAC, 0xF9)
