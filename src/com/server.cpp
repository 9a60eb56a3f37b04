// The in-process server's entry points: class factory and unload test (registration.cpp
// registers).
#include <functional>

#include "com/com_call.h"
#include "com/com_models.h"
#include "frame/classes.h"

using namespace zv;
using namespace zv::com;

namespace {

std::atomic<long> gLocks{0};

const ClassInfo* classOf(const ComClassEntry& entry) {
  for (const ClassInfo& c : libraryClasses())
    if (equalsNoCase(c.name, entry.name)) return &c;
  return nullptr;
}

// Makes a new object's IDispatch (one reference); nullptr when its class is not available.
using MakeObject = std::function<IDispatch*()>;

class ClassFactory final : public ServerObject<IClassFactory> {
 public:
  explicit ClassFactory(MakeObject make) : make_(std::move(make)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return querySingle<IClassFactory>(this, riid, IID_IClassFactory, ppv);
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* object = nullptr;
    try {
      object = make_();
      if (!object) return CLASS_E_CLASSNOTAVAILABLE;
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
    if (lock) {
      ++gLocks;
      return S_OK;
    }
    // An unlock without a lock leaves the count at zero.
    long n = gLocks;
    while (n > 0 && !gLocks.compare_exchange_weak(n, n - 1)) {
    }
    return S_OK;
  }

 private:
  MakeObject make_;
};

HRESULT serveFactory(MakeObject make, REFIID riid, void** ppv) {
  auto* factory = new ClassFactory(std::move(make));
  const HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
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
    return serveFactory(
        [&entry]() -> IDispatch* {
          const ClassInfo* info = classOf(entry);
          return info ? entry.make(info->create()) : nullptr;
        },
        riid, ppv);
  }
  for (const ComModelEntry& model : comModels())
    if (model.clsid && IsEqualCLSID(clsid, *model.clsid))
      return serveFactory([&model] { return modelDispatch(createModel(model.name)); }, riid, ppv);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return gServerObjects == 0 && gLocks == 0 ? S_OK : S_FALSE;
}

}  // extern "C"
