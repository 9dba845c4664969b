#pragma once
// A child window hosting one windowed ActiveX control in place: the least of a container that a
// control needs (client site, in-place site, frame) and dispatch calls by id.
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <string>

namespace zarvane {

class ControlSite;

class ActiveXHost {
 public:
  ActiveXHost() = default;
  virtual ~ActiveXHost() { Destroy(); }
  ActiveXHost(const ActiveXHost&) = delete;
  ActiveXHost& operator=(const ActiveXHost&) = delete;

  // A visible child window of `parent` at `rect` (parent's client coordinates) with the control
  // in it. OLE must be initialised on the thread. False when the window or the control cannot be
  // made; then nothing is left behind.
  bool Create(const CLSID& clsid, HWND parent, const RECT& rect, int id);
  void Destroy();
  HWND Handle() const { return window_; }

  HRESULT PutProperty(DISPID id, VARIANT& value);
  HRESULT PutBool(DISPID id, bool value);
  HRESULT PutText(DISPID id, const std::string& text);  // ANSI text, handed on as a BSTR
  HRESULT CallMethod(DISPID id);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  ControlSite* site_ = nullptr;
};

// The Shockwave Flash control, through the three members the installer uses.
class CShockwaveFlash : public ActiveXHost {
 public:
  static const CLSID kClassId;  // D27CDB6E-AE6D-11CF-96B8-444553540000
  enum : DISPID { kMenu = 0x87, kMovie = 0x66, kPlay = 0x70 };

  bool Create(HWND parent, const RECT& rect, int id) {
    return ActiveXHost::Create(kClassId, parent, rect, id);
  }
  HRESULT SetMenu(bool on) { return PutBool(kMenu, on); }
  HRESULT SetMovie(const std::string& path) { return PutText(kMovie, path); }
  HRESULT Play() { return CallMethod(kPlay); }
};

}  // namespace zarvane
