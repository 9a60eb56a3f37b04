// The creatable models: their class factory and their registration with the server's.
#include "com/com_call.h"
#include "com/com_models.h"
#include "frame/classes.h"

namespace zv::com {

namespace {

class ModelFactory final : public ServerObject<IClassFactory> {
 public:
  explicit ModelFactory(const ComModelEntry& entry) : entry_(entry) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return querySingle<IClassFactory>(this, riid, IID_IClassFactory, ppv);
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* object = nullptr;
    try {
      object = modelDispatch(createModel(entry_.name));
    } catch (const Error& e) {
      return reportError(e, IID_IClassFactory);
    } catch (const std::exception&) {
      return E_OUTOFMEMORY;
    }
    const HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
  // The server's lock count lives with its own factory; a model's object keeps the
  // server loaded by itself.
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  const ComModelEntry& entry_;
};

std::wstring wide(StringView s) {
  return std::wstring(s.begin(), s.end());
}

std::wstring guidText(const GUID& g) {
  wchar_t text[64];
  StringFromGUID2(g, text, 64);
  return text;
}

std::wstring typeLibraryPath(const std::wstring& dllPath) {
  return dllPath + L"\\2";
}

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

}  // namespace

HRESULT modelClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  for (const ComModelEntry& entry : comModels()) {
    if (!entry.clsid || !IsEqualCLSID(clsid, *entry.clsid)) continue;
    auto* factory = new ModelFactory(entry);
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

bool registerModels(const std::wstring& dllPath, SetRegistryKey setKey) {
  const std::wstring libid = guidText(modelsLibraryId());
  const std::wstring version =
      std::to_wstring(modelsLibraryMajor()) + L"." + std::to_wstring(modelsLibraryMinor());
  for (const ComModelEntry& entry : comModels()) {
    if (!entry.clsid) continue;
    const std::wstring clsid = L"CLSID\\" + guidText(*entry.clsid);
    const std::wstring progId = modelsProgIdPrefix() + wide(entry.name);
    const bool ok =
        setKey(clsid, nullptr, progId) && setKey(clsid + L"\\InprocServer32", nullptr, dllPath) &&
        setKey(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
        setKey(clsid + L"\\ProgID", nullptr, progId) &&
        setKey(clsid + L"\\TypeLib", nullptr, libid) &&
        setKey(clsid + L"\\VERSION", nullptr, version) && setKey(progId, nullptr, progId) &&
        setKey(progId + L"\\CLSID", nullptr, guidText(*entry.clsid));
    if (!ok) return false;
  }
  ITypeLib* lib = nullptr;
  std::wstring path = typeLibraryPath(dllPath);
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &lib))) return false;
  std::wstring folder = dllPath.substr(0, dllPath.find_last_of(L'\\'));
  const HRESULT hr = RegisterTypeLib(lib, path.data(), folder.data());
  lib->Release();
  return SUCCEEDED(hr);
}

void unregisterModels(DeleteRegistryTree deleteTree) {
  UnRegisterTypeLib(modelsLibraryId(), modelsLibraryMajor(), modelsLibraryMinor(), 0, kSysKind);
  for (const ComModelEntry& entry : comModels()) {
    if (entry.clsid) {
      deleteTree(L"CLSID\\" + guidText(*entry.clsid));
      deleteTree(modelsProgIdPrefix() + wide(entry.name));
    }
    deleteTree(L"Interface\\" + guidText(*entry.dispatchIid));
  }
  deleteTree(L"TypeLib\\" + guidText(modelsLibraryId()));
}

}  // namespace zv::com
