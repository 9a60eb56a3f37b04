// The in-process server's entry points: class factory, unload test, registration.
#include <string>

#include "com/com_call.h"
#include "com/com_models.h"

using namespace zv;
using namespace zv::com;

namespace {

std::atomic<long> gLocks{0};

const ClassInfo* classOf(const ComClassEntry& entry) {
  for (const ClassInfo& c : libraryClasses())
    if (equalsNoCase(c.name, entry.name)) return &c;
  return nullptr;
}

class ClassFactory final : public ServerObject<IClassFactory> {
 public:
  explicit ClassFactory(const ComClassEntry& entry) : entry_(entry) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return querySingle<IClassFactory>(this, riid, IID_IClassFactory, ppv);
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* object = nullptr;
    try {
      const ClassInfo* info = classOf(entry_);
      if (!info) return CLASS_E_CLASSNOTAVAILABLE;
      object = entry_.make(info->create());
    } catch (const Error& e) {
      return reportError(e, IID_IClassFactory);
    } catch (const std::exception&) {
      return E_OUTOFMEMORY;
    }
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      ++gLocks;
    else
      --gLocks;
    return S_OK;
  }

 private:
  const ComClassEntry& entry_;
};

std::wstring wide(StringView s) {
  return std::wstring(s.begin(), s.end());
}

std::wstring guidText(const GUID& g) {
  wchar_t text[64];
  StringFromGUID2(g, text, 64);
  return text;
}

std::wstring modulePath() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(serverModule(), path, MAX_PATH);
  return std::wstring(path, n);
}

bool setKey(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY h = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const LONG rc = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

void deleteTree(const std::wstring& key) {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const ComClassEntry& entry : comClasses()) {
    if (!IsEqualCLSID(clsid, *entry.clsid)) continue;
    auto* factory = new ClassFactory(entry);
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
  }
  return modelClassObject(clsid, riid, ppv);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return gServerObjects == 0 && gLocks == 0 ? S_OK : S_FALSE;
}

HRESULT STDAPICALLTYPE DllRegisterServer() {
  const std::wstring path = modulePath();
  const std::wstring libid = guidText(kLIBID);
  const std::wstring version =
      std::to_wstring(kLibraryMajor) + L"." + std::to_wstring(kLibraryMinor);
  for (const ComClassEntry& entry : comClasses()) {
    const ClassInfo* info = classOf(entry);
    if (!info || !info->creatable) continue;
    const std::wstring clsid = L"CLSID\\" + guidText(*entry.clsid);
    const std::wstring progId = wide(info->progId);
    bool ok = setKey(clsid, nullptr, wide(info->name)) &&
              setKey(clsid + L"\\InprocServer32", nullptr, path) &&
              setKey(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
              setKey(clsid + L"\\ProgID", nullptr, progId) &&
              setKey(clsid + L"\\TypeLib", nullptr, libid) &&
              setKey(clsid + L"\\VERSION", nullptr, version) &&
              setKey(progId, nullptr, wide(info->name)) &&
              setKey(progId + L"\\CLSID", nullptr, guidText(*entry.clsid));
    if (!ok) return SELFREG_E_CLASS;
  }
  if (!registerModels(path, setKey)) return SELFREG_E_CLASS;
  ITypeLib* lib = typeLibrary();
  if (!lib) return SELFREG_E_TYPELIB;
  std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
  const HRESULT hr = RegisterTypeLib(lib, const_cast<LPOLESTR>(path.c_str()), folder.data());
  return FAILED(hr) ? SELFREG_E_TYPELIB : S_OK;
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
#ifdef _WIN64
  const SYSKIND sys = SYS_WIN64;
#else
  const SYSKIND sys = SYS_WIN32;
#endif
  UnRegisterTypeLib(kLIBID, kLibraryMajor, kLibraryMinor, kLibraryLcid, sys);
  unregisterModels(deleteTree);
  for (const ComClassEntry& entry : comClasses()) {
    const ClassInfo* info = classOf(entry);
    deleteTree(L"CLSID\\" + guidText(*entry.clsid));
    if (info) deleteTree(wide(info->progId));
    // The interface keys RegisterTypeLib wrote, should a Windows version leave them.
    deleteTree(L"Interface\\" + guidText(*entry.iid));
  }
  for (const ClassInfo& c : libraryClasses()) {
    if (!c.events) continue;
    GUID g{};
    if (SUCCEEDED(CLSIDFromString(reinterpret_cast<LPCOLESTR>(c.eventsIid), &g)))
      deleteTree(L"Interface\\" + guidText(g));
  }
  // The library key goes when no other version of it is registered.
  HKEY h = nullptr;
  const std::wstring libKey = L"TypeLib\\" + guidText(kLIBID);
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, libKey.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
    DWORD subkeys = 0;
    RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(h);
    if (subkeys == 0) deleteTree(libKey);
  }
  return S_OK;
}

// Test-only entry point (not part of the server's interface; the Wine test client uses
// it because no class raises events yet): raises event `name` of the library object behind
// `source` with `count` arguments in declaration order; VT_BYREF | VT_VARIANT arguments are
// passed by reference and receive what the listeners left in them.
HRESULT STDAPICALLTYPE ZvTestRaiseEvent(IUnknown* source, LPCWSTR name, VARIANT* args, UINT count) {
  if (!source || !name) return E_POINTER;
  IZvObject* own = nullptr;
  if (FAILED(source->QueryInterface(kIID_ZvObject, reinterpret_cast<void**>(&own))))
    return E_INVALIDARG;
  ObjectRef object = own->zvObject();
  own->Release();
  try {
    std::deque<Variant> values;
    Args zargs;
    for (UINT i = 0; i < count; ++i) {
      values.push_back(fromVariant(args[i]));
      if (V_VT(&args[i]) == (VT_BYREF | VT_VARIANT))
        zargs.push_back(Arg::ref(values.back()));
      else
        zargs.emplace_back(values.back());
    }
    raiseEvent(*object, reinterpret_cast<const char16_t*>(name), zargs);
    for (UINT i = 0; i < count; ++i)
      if (V_VT(&args[i]) == (VT_BYREF | VT_VARIANT)) ComCall::store_Variant(values[i], &args[i]);
  } catch (const Error& e) {
    return reportError(e, IID_IUnknown);
  }
  return S_OK;
}

}  // extern "C"
