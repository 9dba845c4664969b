#pragma once
// What the stand-in COM servers share: where their logs and state live, how they append a log
// line and keep key=value state, and how they write their class registration.
#include <windows.h>
#include <ole2.h>

#include <map>
#include <string>

namespace zarvane::doubles {

// C:\zarvane-doubles\ unless ZARVANE_DOUBLES_DIR names another folder; always ends in "\".
std::string DoublesFolder();

// Appends one line (UTF-8, "\n") to the named file in the doubles folder, creating both.
void AppendLog(const char* fileName, const std::string& line);

// key=value lines of a file in the doubles folder; a missing file gives an empty map.
std::map<std::string, std::string> ReadSettings(const char* fileName);
void WriteSettings(const char* fileName, const std::map<std::string, std::string>& settings);

std::string Utf8(const wchar_t* text);
std::wstring Wide(const std::string& utf8);
// "text" with the quotes, so empty texts and spaces stay visible in a log line.
std::string Quoted(const std::string& text);
std::string Hex(unsigned long value);

std::string ModulePath(HMODULE module);

// HKCR\CLSID\<clsid>: default value `name`, InprocServer32 = `path` (ThreadingModel Apartment).
bool RegisterInprocServer(const char* clsid, const char* name, const std::string& path);
bool SetRegistryText(HKEY root, const std::string& key, const char* value, const std::string& text);

// Counts live objects and server locks of one DLL, for DllCanUnloadNow.
extern LONG moduleUsers;

// The class factory both servers hand out: `create` makes one object for `iid`.
class ClassFactory final : public IClassFactory {
 public:
  using Create = HRESULT (*)(REFIID iid, void** out);
  explicit ClassFactory(Create create) : create_(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) InterlockedIncrement(&moduleUsers);
    else InterlockedDecrement(&moduleUsers);
    return S_OK;
  }

 private:
  LONG refs_ = 1;
  Create create_;
};

// DllGetClassObject of a server with one class: a factory of `create` for `served` only.
inline HRESULT ClassObjectFor(REFCLSID requested, REFCLSID served, ClassFactory::Create create,
                              REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(requested, served)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new ClassFactory(create);
  HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

}  // namespace zarvane::doubles
