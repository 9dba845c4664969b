// Stand-in for the Shockwave Flash ActiveX control (flash.ocx), for tests under Wine. A real,
// minimal windowed control: the OLE embedding and in-place activation a container performs, a
// child window in the container's window, and the dispatch members Menu, Movie and Play under the
// real control's dispatch ids. Every call a test may want to see goes to flash.log in order; it
// plays nothing.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "double_support.h"

namespace zarvane::doubles {
namespace {

constexpr char kLog[] = "flash.log";
constexpr char kState[] = "flash-state.txt";
constexpr char kClsidText[] = "{D27CDB6E-AE6D-11cf-96B8-444553540000}";
constexpr char kProgId[] = "ShockwaveFlash.ShockwaveFlash";
constexpr CLSID kClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr char kWindowClass[] = "ZarvaneFlashStandIn";

// The dispatch ids of the control's type library.
constexpr DISPID kMovie = 0x66;
constexpr DISPID kPlay = 0x70;
constexpr DISPID kMenu = 0x87;

HMODULE thisModule = nullptr;

std::string Rect(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
         " " + std::to_string(r.bottom);
}

class FlashDouble final : public IOleObject,
                          public IOleInPlaceObject,
                          public IViewObject2,
                          public IDispatch,
                          public IPersistStreamInit,
                          public IOleControl {
 public:
  FlashDouble() {
    InterlockedIncrement(&moduleUsers);
    AppendLog(kLog, "Create");
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
      *out = static_cast<IOleObject*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject))
      *out = static_cast<IOleInPlaceObject*>(this);
    else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2))
      *out = static_cast<IViewObject2*>(this);
    else if (IsEqualIID(iid, IID_IDispatch))
      *out = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit))
      *out = static_cast<IPersistStreamInit*>(this);
    else if (IsEqualIID(iid, IID_IOleControl))
      *out = static_cast<IOleControl*>(this);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) {
      DestroyControlWindow();
      if (site_) site_->Release();
      if (viewSink_) viewSink_->Release();
      AppendLog(kLog, "Release");
      delete this;
      InterlockedDecrement(&moduleUsers);
    }
    return refs;
  }

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    AppendLog(kLog, site ? "SetClientSite" : "SetClientSite null");
    if (site) site->AddRef();
    if (site_) site_->Release();
    site_ = site;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
    if (!site) return E_POINTER;
    *site = site_;
    if (site_) site_->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override {
    AppendLog(kLog, "Close " + std::to_string(saveOption));
    InPlaceDeactivate();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override {
    if (data) *data = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG,
                                   HWND parent, LPCRECT position) override {
    std::string call = "DoVerb " + std::to_string(verb);
    switch (verb) {
      case OLEIVERB_PRIMARY:
      case OLEIVERB_SHOW:
      case OLEIVERB_UIACTIVATE:
      case OLEIVERB_INPLACEACTIVATE: {
        HRESULT hr = ActivateInPlace(activeSite ? activeSite : site_, parent, position, call);
        if (SUCCEEDED(hr)) AppendLog(kLog, call);
        return hr;
      }
      case OLEIVERB_HIDE:
        AppendLog(kLog, call);
        if (window_) ShowWindow(window_, SW_HIDE);
        return S_OK;
      default:
        AppendLog(kLog, call + " -> OLEOBJ_S_INVALIDVERB");
        return OLEOBJ_S_INVALIDVERB;
    }
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override {
    if (verbs) *verbs = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* type) override {
    if (type) *type = nullptr;
    return OLE_S_USEREG;
  }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL* size) override {
    if (!size) return E_POINTER;
    extent_ = *size;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL* size) override {
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* connection) override {
    if (connection) *connection = 0;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advise) override {
    if (advise) *advise = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
    if (!status) return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
              OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
    if (!inPlaceSite_) return S_OK;
    AppendLog(kLog, "InPlaceDeactivate");
    DestroyControlWindow();
    inPlaceSite_->OnInPlaceDeactivate();
    inPlaceSite_->Release();
    inPlaceSite_ = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT) override {
    if (!position) return E_POINTER;
    AppendLog(kLog, "SetObjectRects " + Rect(*position));
    if (window_)
      MoveWindow(window_, position->left, position->top, position->right - position->left,
                 position->bottom - position->top, TRUE);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

  // IViewObject, IViewObject2: containers that draw windowless objects get the same picture.
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc,
                                 LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                 ULONG_PTR) override {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    RECT r = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    Paint(dc, r);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                        LOGPALETTE** colours) override {
    if (colours) *colours = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD, DWORD, IAdviseSink* sink) override {
    if (sink) sink->AddRef();
    if (viewSink_) viewSink_->Release();
    viewSink_ = sink;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override {
    if (aspects) *aspects = DVASPECT_CONTENT;
    if (flags) *flags = 0;
    if (sink) {
      *sink = viewSink_;
      if (viewSink_) viewSink_->AddRef();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL size) override {
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
  }

  // IDispatch: no type information; the three members the installer uses, by id or by name.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (!names || !ids) return E_POINTER;
    // names[0] is the member, the rest would name its parameters: these members have none.
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      if (i == 0 && _wcsicmp(names[0], L"Movie") == 0) ids[0] = kMovie;
      else if (i == 0 && _wcsicmp(names[0], L"Play") == 0) ids[0] = kPlay;
      else if (i == 0 && _wcsicmp(names[0], L"Menu") == 0) ids[0] = kMenu;
      else hr = DISP_E_UNKNOWNNAME;
    }
    if (FAILED(hr))
      AppendLog(kLog, "GetIDsOfNames " + Quoted(count ? Utf8(names[0]) : "") + " " +
                          std::to_string(count) + " -> DISP_E_UNKNOWNNAME");
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT* argError) override {
    std::string call = "Invoke " + Hex(static_cast<unsigned long>(id)) + " flags " +
                       std::to_string(flags);
    if (!params) return Refuse(call, E_POINTER, "E_POINTER");
    if (argError) *argError = 0;
    bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    bool get = (flags & DISPATCH_PROPERTYGET) != 0;
    bool method = (flags & DISPATCH_METHOD) != 0;

    if (id == kMenu || id == kMovie) {
      if (put) {
        // A property put names its value DISPID_PROPERTYPUT; hosts that forget fail here too.
        if (params->cArgs != 1 || params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
            params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
          return Refuse(call + " args " + std::to_string(params->cArgs) + " named " +
                            std::to_string(params->cNamedArgs),
                        DISP_E_PARAMNOTFOUND, "DISP_E_PARAMNOTFOUND");
        VARIANT value;
        VariantInit(&value);
        HRESULT hr = VariantChangeType(&value, &params->rgvarg[0], 0,
                                       id == kMenu ? VT_BOOL : VT_BSTR);
        if (FAILED(hr)) return Refuse(call, DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH");
        if (id == kMenu) {
          menu_ = value.boolVal != VARIANT_FALSE;
          AppendLog(kLog, std::string("Menu ") + (menu_ ? "true" : "false"));
        } else {
          movie_ = value.bstrVal ? value.bstrVal : L"";
          AppendLog(kLog, "Movie " + Quoted(Utf8(movie_.c_str())));
          if (window_) InvalidateRect(window_, nullptr, TRUE);
        }
        VariantClear(&value);
        return S_OK;
      }
      if (get) {
        if (!result) return Refuse(call, E_POINTER, "E_POINTER");
        VariantInit(result);
        if (id == kMenu) {
          result->vt = VT_BOOL;
          result->boolVal = menu_ ? VARIANT_TRUE : VARIANT_FALSE;
        } else {
          result->vt = VT_BSTR;
          result->bstrVal = SysAllocString(movie_.c_str());
        }
        return S_OK;
      }
    } else if (id == kPlay && method) {
      if (params->cArgs != 0)
        return Refuse(call + " args " + std::to_string(params->cArgs), DISP_E_BADPARAMCOUNT,
                      "DISP_E_BADPARAMCOUNT");
      playing_ = true;
      AppendLog(kLog, "Play");
      if (window_) InvalidateRect(window_, nullptr, TRUE);
      if (result) VariantInit(result);
      return S_OK;
    }
    return Refuse(call, DISP_E_MEMBERNOTFOUND, "DISP_E_MEMBERNOTFOUND");
  }

  // IPersist, IPersistStreamInit: no persistent properties.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
    if (!clsid) return E_POINTER;
    *clsid = kClsid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InitNew() override {
    AppendLog(kLog, "InitNew");
    return S_OK;
  }

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override {
    if (!info) return E_POINTER;
    info->cb = sizeof *info;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<FlashDouble*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
      case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
      }
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        if (self) self->Paint(dc, client);
        EndPaint(window, &paint);
        return 0;
      }
      case WM_NCDESTROY:
        if (self) self->window_ = nullptr;
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
  }

 private:
  HRESULT Refuse(const std::string& call, HRESULT hr, const char* name) {
    AppendLog(kLog, call + " -> " + name);
    return hr;
  }

  // In-place activation as a container expects it: the site must agree, gives the window and
  // the position, and hears that the object is active.
  HRESULT ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT position,
                          const std::string& call) {
    if (window_) {
      ShowWindow(window_, SW_SHOW);
      return S_OK;
    }
    if (!site) return Refuse(call, E_UNEXPECTED, "no client site");
    IOleInPlaceSite* inPlace = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace))))
      return Refuse(call, E_NOINTERFACE, "no IOleInPlaceSite");
    if (inPlace->CanInPlaceActivate() != S_OK) {
      inPlace->Release();
      return Refuse(call, E_FAIL, "CanInPlaceActivate refused");
    }
    HWND siteWindow = nullptr;
    if (FAILED(inPlace->GetWindow(&siteWindow)) || !siteWindow) siteWindow = parent;
    if (!siteWindow) {
      inPlace->Release();
      return Refuse(call, E_FAIL, "no window from the site");
    }
    RECT rect = {0, 0, 0, 0}, clip = {0, 0, 0, 0};
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof frameInfo;
    HRESULT context = inPlace->GetWindowContext(&frame, &document, &rect, &clip, &frameInfo);
    if (frame) frame->Release();
    if (document) document->Release();
    if (position) rect = *position;
    else if (FAILED(context)) {
      inPlace->Release();
      return Refuse(call, E_FAIL, "no position");
    }
    inPlace->OnInPlaceActivate();
    window_ = CreateWindowExA(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                              rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                              siteWindow, nullptr, thisModule, this);
    if (!window_) {
      inPlace->OnInPlaceDeactivate();
      inPlace->Release();
      return Refuse(call, E_FAIL, "CreateWindow failed");
    }
    inPlaceSite_ = inPlace;
    AppendLog(kLog, "Window " + Rect(rect));
    return S_OK;
  }

  void DestroyControlWindow() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
  }

  void Paint(HDC dc, const RECT& area) {
    HBRUSH brush = CreateSolidBrush(RGB(0x20, 0x30, 0x60));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    std::wstring text = L"Shockwave Flash stand-in\n" + movie_ + (playing_ ? L"\nplaying" : L"");
    RECT r = area;
    InflateRect(&r, -4, -4);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xff, 0xff, 0xff));
    DrawTextW(dc, text.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_WORDBREAK);
  }

  LONG refs_ = 1;
  IOleClientSite* site_ = nullptr;
  IOleInPlaceSite* inPlaceSite_ = nullptr;
  IAdviseSink* viewSink_ = nullptr;
  HWND window_ = nullptr;
  SIZEL extent_ = {7938, 4498};  // 300 x 170 pixels in HIMETRIC at 96 dpi
  bool menu_ = true;
  bool playing_ = false;
  std::wstring movie_;
};

HRESULT CreateFlash(REFIID iid, void** out) {
  auto* flash = new FlashDouble;
  HRESULT hr = flash->QueryInterface(iid, out);
  static_cast<IOleObject*>(flash)->Release();
  return hr;
}

bool RegisterWindowClass() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = FlashDouble::WindowProc;
  windowClass.hInstance = thisModule;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassA(&windowClass) != 0;
}

unsigned long OwnSize() {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(ModulePath(thisModule).c_str(), GetFileExInfoStandard, &data)) return 0;
  return data.nFileSizeLow;
}

}  // namespace
}  // namespace zarvane::doubles

using namespace zarvane::doubles;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    thisModule = instance;
    DisableThreadLibraryCalls(instance);
    RegisterWindowClass();
  } else if (reason == DLL_PROCESS_DETACH) {
    UnregisterClassA(kWindowClass, instance);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return ClassObjectFor(clsid, kClsid, CreateFlash, iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return moduleUsers == 0 ? S_OK : S_FALSE; }

// Registers the class under this file's own path. flash-state.txt's RegisterResult (a number,
// 0x... allowed) makes it fail with that result instead, registering nothing.
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  std::string path = ModulePath(thisModule);
  std::string call = "DllRegisterServer " + Quoted(path) + " " + std::to_string(OwnSize());
  std::string preset = ReadSettings(kState)["RegisterResult"];
  HRESULT hr = static_cast<HRESULT>(std::strtoul(preset.c_str(), nullptr, 0));
  if (hr == S_OK) {
    std::string key = std::string("CLSID\\") + kClsidText;
    bool ok = RegisterInprocServer(kClsidText, "Shockwave Flash Object", path) &&
              SetRegistryText(HKEY_CLASSES_ROOT, key + "\\ProgID", nullptr, kProgId) &&
              SetRegistryText(HKEY_CLASSES_ROOT, key + "\\Control", nullptr, "") &&
              SetRegistryText(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\CLSID", nullptr,
                              kClsidText);
    if (!ok) hr = SELFREG_E_CLASS;
  }
  AppendLog(kLog, call + " -> " + Hex(static_cast<unsigned long>(hr)));
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  AppendLog(kLog, "DllUnregisterServer");
  std::string key = std::string("CLSID\\") + kClsidText;
  for (const std::string& sub : {key + "\\InprocServer32", key + "\\ProgID", key + "\\Control",
                                 key, std::string(kProgId) + "\\CLSID", std::string(kProgId)})
    RegDeleteKeyA(HKEY_CLASSES_ROOT, sub.c_str());
  return S_OK;
}
