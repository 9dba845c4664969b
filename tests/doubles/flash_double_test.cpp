// Hosts the registered stand-in Flash control in a small OLE container of its own, the way the
// installer's movie pane does, and checks the control's window and what it recorded.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "skip_without_display.h"

namespace {

const CLSID kFlash = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
std::string folder;

std::vector<std::string> Log() {
  std::ifstream in(folder + "flash.log");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The client and in-place site of one control in one window: no frame, no document window.
class Site final : public IOleClientSite, public IOleInPlaceSite {
 public:
  explicit Site(HWND window) : window_(window) {}
  bool activated = false;
  bool deactivated = false;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
      *out = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
      *out = static_cast<IOleInPlaceSite*>(this);
    else
      return E_NOINTERFACE;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** c) override {
    *c = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override {
    activated = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             LPRECT position, LPRECT clip,
                                             LPOLEINPLACEFRAMEINFO) override {
    *frame = nullptr;
    *doc = nullptr;
    GetClientRect(window_, position);
    *clip = *position;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
    deactivated = true;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

 private:
  HWND window_;
};

HRESULT Put(IDispatch* control, DISPID id, VARIANT value, bool named = true) {
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, named ? &put : nullptr, 1, named ? 1u : 0u};
  return control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                         nullptr, nullptr, nullptr);
}

HRESULT Call(IDispatch* control, DISPID id) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  return control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result,
                         nullptr, nullptr);
}

class FlashDouble : public ::testing::Test {
 protected:
  void SetUp() override {
    zarvane::SkipWithoutDisplay();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "zarvane-flash-test\\";
    SetEnvironmentVariableA("ZARVANE_DOUBLES_DIR", folder.c_str());
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "flash.log").c_str());
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    host_ = CreateWindowExA(0, "STATIC", "Flash host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                            320, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(host_);
  }
  void TearDown() override {
    DestroyWindow(host_);
    OleUninitialize();
  }
  HWND host_ = nullptr;
};

TEST_F(FlashDouble, HostedControlRecordsMenuMovieAndPlayAndCleansUp) {
  Site site(host_);
  IOleObject* object = nullptr;
  ASSERT_EQ(CoCreateInstance(kFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                             reinterpret_cast<void**>(&object)),
            S_OK)
      << "is the stand-in registered (doubles.sh register-flash)?";
  DWORD misc = 0;
  object->GetMiscStatus(DVASPECT_CONTENT, &misc);
  EXPECT_TRUE(misc & OLEMISC_SETCLIENTSITEFIRST);
  ASSERT_EQ(object->SetClientSite(&site), S_OK);
  IPersistStreamInit* persist = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)), S_OK);
  persist->InitNew();
  persist->Release();
  RECT area;
  GetClientRect(host_, &area);
  ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, host_, &area), S_OK);
  EXPECT_TRUE(site.activated);

  // The control's window is a visible child of the site's window, covering the given area.
  IOleInPlaceObject* inPlace = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)), S_OK);
  HWND window = nullptr;
  ASSERT_EQ(inPlace->GetWindow(&window), S_OK);
  EXPECT_EQ(GetParent(window), host_);
  EXPECT_TRUE(IsWindowVisible(window));
  RECT rect;
  GetClientRect(window, &rect);
  EXPECT_EQ(rect.right, area.right);
  EXPECT_EQ(rect.bottom, area.bottom);
  inPlace->Release();

  IDispatch* control = nullptr;
  ASSERT_EQ(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&control)), S_OK);
  // The names a host may look up give the type library's ids.
  const wchar_t* names[] = {L"Menu", L"movie", L"PLAY"};
  const DISPID ids[] = {0x87, 0x66, 0x70};
  for (int i = 0; i < 3; ++i) {
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(names[i]);
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, ids[i]) << i;
  }
  VARIANT menu;
  menu.vt = VT_BOOL;
  menu.boolVal = VARIANT_FALSE;
  VARIANT movie;
  movie.vt = VT_BSTR;
  movie.bstrVal = SysAllocString(L"C:\\users\\me\\Temp\\clock.swf");
  // Faults of a host that the control must not take for the real calls.
  EXPECT_EQ(Put(control, 0x87, menu, false), DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(Call(control, 0x76), DISP_E_MEMBERNOTFOUND);  // Zoom, not Menu
  EXPECT_EQ(Call(control, 0x66), DISP_E_MEMBERNOTFOUND);  // Movie is a property
  // What the movie pane does.
  EXPECT_EQ(Put(control, 0x87, menu), S_OK);
  EXPECT_EQ(Put(control, 0x66, movie), S_OK);
  EXPECT_EQ(Call(control, 0x70), S_OK);
  VariantClear(&movie);
  control->Release();

  // Tear-down as a container does it: the window goes, the site hears of it, the object ends.
  EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(site.deactivated);
  object->SetClientSite(nullptr);
  EXPECT_EQ(object->Release(), 0u);

  std::vector<std::string> expected = {
      "Create",
      "SetClientSite",
      "InitNew",
      "Window 0 0 " + std::to_string(area.right) + " " + std::to_string(area.bottom),
      "DoVerb -5",
      "Invoke 0x87 flags 4 args 1 named 0 -> DISP_E_PARAMNOTFOUND",
      "Invoke 0x76 flags 1 -> DISP_E_MEMBERNOTFOUND",
      "Invoke 0x66 flags 1 -> DISP_E_MEMBERNOTFOUND",
      "Menu false",
      "Movie \"C:\\users\\me\\Temp\\clock.swf\"",
      "Play",
      "Close 1",
      "InPlaceDeactivate",
      "SetClientSite null",
      "Release",
  };
  EXPECT_EQ(Log(), expected);
}

// Activation needs an in-place site: a container without one gets no window and a logged reason.
TEST_F(FlashDouble, ActivationWithoutInPlaceSiteFails) {
  class PlainSite final : public IOleClientSite {
   public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
      *out = nullptr;
      if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IOleClientSite))
        return E_NOINTERFACE;
      *out = this;
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
  } site;
  IOleObject* object = nullptr;
  ASSERT_EQ(CoCreateInstance(kFlash, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                             reinterpret_cast<void**>(&object)),
            S_OK);
  object->SetClientSite(&site);
  RECT area = {0, 0, 100, 100};
  EXPECT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, host_, &area),
            E_NOINTERFACE);
  EXPECT_EQ(GetWindow(host_, GW_CHILD), nullptr);
  object->SetClientSite(nullptr);
  object->Release();
  std::vector<std::string> log = Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[2], "DoVerb -5 -> no IOleInPlaceSite");
}

}  // namespace
