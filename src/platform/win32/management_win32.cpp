// The management service on Windows: WMI's root\cimv2, queried through wbemprox.
#define _WIN32_DCOM
#include <windows.h>
#include <wbemcli.h>

#include "platform/management.h"

namespace zv::platform {

namespace {

template <class T>
class ComPtr {
 public:
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

class Bstr {
 public:
  explicit Bstr(const String& text) : b_(SysAllocString(reinterpret_cast<const OLECHAR*>(text.c_str()))) {}
  ~Bstr() { SysFreeString(b_); }
  operator BSTR() const { return b_; }

 private:
  BSTR b_;
};

// A property's value as text: Null as "", an array (no single value) as nothing.
std::optional<String> text(VARIANT& value) {
  if (value.vt == VT_NULL || value.vt == VT_EMPTY) return String();
  if (value.vt & VT_ARRAY) return std::nullopt;
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, &value, VARIANT_ALPHABOOL, VT_BSTR))) return std::nullopt;
  String result(reinterpret_cast<const char16_t*>(converted.bstrVal), SysStringLen(converted.bstrVal));
  VariantClear(&converted);
  return result;
}

ManagedObject describe(IWbemClassObject* object) {
  ManagedObject result;
  object->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY);
  BSTR name = nullptr;
  VARIANT value;
  VariantInit(&value);
  while (object->Next(0, &name, &value, nullptr, nullptr) == WBEM_S_NO_ERROR) {
    if (auto shown = text(value))
      result.set(String(reinterpret_cast<const char16_t*>(name), SysStringLen(name)), *shown);
    SysFreeString(name);
    VariantClear(&value);
  }
  object->EndEnumeration();
  return result;
}

std::optional<std::vector<ManagedObject>> query(const String& className) {
  ComPtr<IWbemLocator> locator;
  if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<void**>(locator.out()))))
    return std::nullopt;
  ComPtr<IWbemServices> services;
  if (FAILED(locator->ConnectServer(Bstr(u"ROOT\\CIMV2"), nullptr, nullptr, nullptr, 0, nullptr,
                                    nullptr, services.out())))
    return std::nullopt;
  CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                    RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
  ComPtr<IEnumWbemClassObject> objects;
  if (FAILED(services->ExecQuery(Bstr(u"WQL"), Bstr(u"Select * from " + className),
                                 WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                 objects.out())))
    return std::nullopt;
  std::vector<ManagedObject> result;
  for (;;) {
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    if (objects->Next(WBEM_INFINITE, 1, object.out(), &returned) != WBEM_S_NO_ERROR || !returned)
      break;
    result.push_back(describe(object.get()));
  }
  return result;
}

}  // namespace

std::optional<std::vector<ManagedObject>> queryManagement(const String& className) {
  // The caller's thread normally has COM already; otherwise it gets it for the query.
  const HRESULT initialized = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  auto result = query(className);
  if (SUCCEEDED(initialized)) CoUninitialize();
  return result;
}

}  // namespace zv::platform
