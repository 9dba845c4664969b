#include "activex_host.h"

#include <vector>

namespace zarvane {

const CLSID CShockwaveFlash::kClassId = {
    0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// The container side of one control. Reference counted because the control holds on to it; the
// host window owns one reference.
class ControlSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit ControlSite(HWND window) : window_(window) {}

  bool Open(const CLSID& clsid) {
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&object_))))
      return false;
    object_->SetClientSite(static_cast<IOleClientSite*>(this));
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(object_->QueryInterface(IID_IPersistStreamInit,
                                          reinterpret_cast<void**>(&persist)))) {
      persist->InitNew();
      persist->Release();
    }
    RECT rect;
    GetClientRect(window_, &rect);
    SetExtent(rect);
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr,
                               static_cast<IOleClientSite*>(this), 0, window_, &rect))) {
      Close();
      return false;
    }
    object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace_));
    object_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch_));
    return true;
  }

  void Close() {
    if (inPlace_) {
      inPlace_->InPlaceDeactivate();
      inPlace_->Release();
      inPlace_ = nullptr;
    }
    if (dispatch_) {
      dispatch_->Release();
      dispatch_ = nullptr;
    }
    if (object_) {
      object_->Close(OLECLOSE_NOSAVE);
      object_->SetClientSite(nullptr);
      object_->Release();
      object_ = nullptr;
    }
  }

  void Resize() {
    RECT rect;
    GetClientRect(window_, &rect);
    if (inPlace_) inPlace_->SetObjectRects(&rect, &rect);
  }

  IDispatch* Dispatch() const { return dispatch_; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place site and the frame)
  STDMETHODIMP GetWindow(HWND* out) override {
    if (!out) return E_POINTER;
    *out = window_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) override {
    if (frame) {
      *frame = static_cast<IOleInPlaceFrame*>(this);
      AddRef();
    }
    if (document) *document = nullptr;
    if (position) GetClientRect(window_, position);
    if (clip) GetClientRect(window_, clip);
    if (info) {
      info->fMDIApp = FALSE;
      // The top-level window, by hand: Windows 95 lacks GetAncestor.
      HWND top = window_;
      while ((GetWindowLongA(top, GWL_STYLE) & WS_CHILD) && GetParent(top)) top = GetParent(top);
      info->hwndFrame = top;
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT rect) override {
    if (inPlace_ && rect) inPlace_->SetObjectRects(rect, rect);
    return S_OK;
  }

  // IOleInPlaceUIWindow
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

  // IOleInPlaceFrame
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  virtual ~ControlSite() = default;

  void SetExtent(const RECT& rect) {
    // Controls take their natural size in HIMETRIC units (0.01 mm).
    HDC screen = GetDC(nullptr);
    SIZEL extent = {MulDiv(rect.right - rect.left, 2540, GetDeviceCaps(screen, LOGPIXELSX)),
                    MulDiv(rect.bottom - rect.top, 2540, GetDeviceCaps(screen, LOGPIXELSY))};
    ReleaseDC(nullptr, screen);
    object_->SetExtent(DVASPECT_CONTENT, &extent);
  }

  HWND window_;
  ULONG references_ = 1;
  IOleObject* object_ = nullptr;
  IOleInPlaceObject* inPlace_ = nullptr;
  IDispatch* dispatch_ = nullptr;
};

namespace {
const char kHostClass[] = "ZarvaneControlHost";

bool RegisterHostClass(WNDPROC procedure) {
  WNDCLASSA existing;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoA(instance, kHostClass, &existing)) return true;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHostClass;
  return RegisterClassA(&wc) != 0;
}
}  // namespace

bool ActiveXHost::Create(const CLSID& clsid, HWND parent, const RECT& rect, int id) {
  Destroy();
  if (!RegisterHostClass(&ActiveXHost::WindowProcedure)) return false;
  window_ = CreateWindowExA(0, kHostClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect.left,
                            rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleA(nullptr), nullptr);
  if (!window_) return false;
  site_ = new ControlSite(window_);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(site_));
  if (!site_->Open(clsid)) {
    Destroy();
    return false;
  }
  return true;
}

void ActiveXHost::Destroy() {
  if (site_) {
    site_->Close();
    site_->Release();
    site_ = nullptr;
  }
  if (window_) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

LRESULT CALLBACK ActiveXHost::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  auto* site = reinterpret_cast<ControlSite*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_SIZE && site) site->Resize();
  return DefWindowProcA(window, message, wParam, lParam);
}

HRESULT ActiveXHost::PutProperty(DISPID id, VARIANT& value) {
  if (!site_ || !site_->Dispatch()) return E_UNEXPECTED;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters = {&value, &named, 1, 1};
  return site_->Dispatch()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                   &parameters, nullptr, nullptr, nullptr);
}

HRESULT ActiveXHost::PutBool(DISPID id, bool value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return PutProperty(id, v);
}

HRESULT ActiveXHost::PutText(DISPID id, const std::string& text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::vector<wchar_t> wide(length > 0 ? length : 1, 0);
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(wide.data());
  if (!v.bstrVal) return E_OUTOFMEMORY;
  HRESULT hr = PutProperty(id, v);
  VariantClear(&v);
  return hr;
}

HRESULT ActiveXHost::CallMethod(DISPID id) {
  if (!site_ || !site_->Dispatch()) return E_UNEXPECTED;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return site_->Dispatch()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                   nullptr, nullptr, nullptr);
}

}  // namespace zarvane
