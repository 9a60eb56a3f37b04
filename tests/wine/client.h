// What the Wine test clients and the script host share: counted checks, interface pointers,
// the IUnknown and IDispatch plumbing of their own objects, argument values, and a late-bound
// call whose outcome reads as one text.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace client {

inline int gPassed = 0, gFailed = 0;

inline void check(bool ok, const std::string& what) {
  ok ? ++gPassed : ++gFailed;
  if (!ok) std::printf("FAIL: %s\n", what.c_str());
}

// Prints the summary line the Wine run counts; the process's exit code.
inline int summary(const char* name) {
  std::printf("%s: %d passed, %d failed\n", name, gPassed, gFailed);
  return gFailed ? 1 : 0;
}

// An interface pointer, released when it goes out of scope.
template <class T>
struct Ref {
  T* p = nullptr;
  Ref() = default;
  explicit Ref(T* q) : p(q) {}
  Ref(Ref&& o) noexcept : p(std::exchange(o.p, nullptr)) {}
  Ref& operator=(Ref&&) = delete;
  ~Ref() { reset(); }
  void reset() {
    if (p) p->Release();
    p = nullptr;
  }
  T* operator->() const { return p; }
  operator T*() const { return p; }
  T** operator&() { return &p; }
  void** out() { return reinterpret_cast<void**>(&p); }
};

// The attributes of a type (zeroed when there is none), copied so nothing is left to release.
inline TYPEATTR attrOf(ITypeInfo* info) {
  TYPEATTR* a = nullptr;
  TYPEATTR copy{};
  if (info && SUCCEEDED(info->GetTypeAttr(&a))) {
    copy = *a;
    info->ReleaseTypeAttr(a);
  }
  return copy;
}

// IUnknown and IDispatch for an object of the test's own, living on the stack or for the whole
// run: the reference count is only watched, never frees it.
template <class Interface>
class DispatchBase : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) && !accepts(riid))
      return E_NOINTERFACE;
    *ppv = this;
    this->AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }

  ULONG refs = 1;

 protected:
  virtual bool accepts(REFIID) { return false; }
};

inline std::wstring str(BSTR b) {
  return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
}
inline std::string narrow(const std::wstring& w) {
  return std::string(w.begin(), w.end());
}

template <class Fill>
VARIANT variant(VARTYPE vt, Fill fill) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = vt;
  fill(v);
  return v;
}
inline VARIANT text(const wchar_t* s) {
  return variant(VT_BSTR, [&](VARIANT& v) { V_BSTR(&v) = SysAllocString(s); });
}
inline VARIANT number(LONG n) {
  return variant(VT_I4, [&](VARIANT& v) { V_I4(&v) = n; });
}
inline VARIANT flag(bool b) {
  return variant(VT_BOOL, [&](VARIANT& v) { V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE; });
}
// An object argument holding its own reference (nullptr: Nothing).
inline VARIANT object(IDispatch* d) {
  if (d) d->AddRef();
  return variant(VT_DISPATCH, [&](VARIANT& v) { V_DISPATCH(&v) = d; });
}
inline VARIANT byRef(VARIANT* target) {
  return variant(VT_BYREF | VT_VARIANT, [&](VARIANT& v) { V_VARIANTREF(&v) = target; });
}
inline VARIANT missing() {
  return variant(VT_ERROR, [](VARIANT& v) { V_ERROR(&v) = DISP_E_PARAMNOTFOUND; });
}

// A value as text, with its VARIANT kind: "8:abc".
inline std::wstring shown(const VARIANT& v) {
  VARIANT s;
  VariantInit(&s);
  std::wstring out = std::to_wstring(V_VT(&v)) + L":";
  if (SUCCEEDED(VariantChangeType(&s, const_cast<VARIANT*>(&v), 0, VT_BSTR)))
    out += str(V_BSTR(&s));
  VariantClear(&s);
  return out;
}

struct Outcome {
  HRESULT hr;
  std::wstring text;  // the result shown, or "#" and the VB error number
  UINT argErr;
};

// IDispatch::Invoke of `id` with `args` in DISPPARAMS order (the named ones first, with `named`
// their ids; then the positional ones, last first).
inline Outcome invoke(IDispatch* obj, DISPID id, std::vector<VARIANT> args,
                      std::vector<DISPID> named = {}) {
  DISPPARAMS params{args.data(), named.data(), static_cast<UINT>(args.size()),
                    static_cast<UINT>(named.size())};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO ei{};
  UINT argErr = 0xFFFF;
  const HRESULT hr = obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                 &result, &ei, &argErr);
  long number = hr == DISP_E_EXCEPTION ? ei.scode & 0xFFFF : hr;
  for (auto [code, vb] :
       {std::pair{DISP_E_PARAMNOTOPTIONAL, 449}, {DISP_E_TYPEMISMATCH, 13}, {DISP_E_OVERFLOW, 6}})
    if (hr == code) number = vb;
  Outcome out{hr, FAILED(hr) ? L"#" + std::to_wstring(number) : shown(result), argErr};
  SysFreeString(ei.bstrDescription);
  SysFreeString(ei.bstrSource);
  SysFreeString(ei.bstrHelpFile);
  VariantClear(&result);
  return out;
}

// The dispatch id of `member`, or DISPID_UNKNOWN.
inline DISPID idOf(IDispatch* obj, const wchar_t* member) {
  LPOLESTR name = const_cast<LPOLESTR>(member);
  DISPID id = DISPID_UNKNOWN;
  obj->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

}  // namespace client
