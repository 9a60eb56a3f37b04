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

// IUnknown for an object of the test's own, living on the stack or for the whole run: the
// reference count is only watched, never frees it. It answers as `own` and `also`.
template <class Interface>
class UnknownBase : public Interface {
 public:
  explicit UnknownBase(const IID& own, const IID& also = IID_NULL) : own_(own), also_(also) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    const bool ok = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, own_) ||
                    (!IsEqualIID(also_, IID_NULL) && IsEqualIID(riid, also_));
    *ppv = ok ? this : nullptr;
    if (ok) this->AddRef();
    return ok ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }

  ULONG refs = 1;

 private:
  IID own_, also_;
};

// The same as an IDispatch without type information; `events`: the source interface it also is.
class DispatchBase : public UnknownBase<IDispatch> {
 public:
  explicit DispatchBase(const IID& events = IID_NULL) : UnknownBase(IID_IDispatch, events) {}
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
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

// A value as text (empty when it has none), and with its VARIANT kind: "8:abc".
inline std::wstring asText(const VARIANT& v, USHORT flags = 0) {
  VARIANT s;
  VariantInit(&s);
  if (FAILED(VariantChangeType(&s, const_cast<VARIANT*>(&v), flags, VT_BSTR))) return L"";
  const std::wstring out = str(V_BSTR(&s));
  VariantClear(&s);
  return out;
}
inline std::wstring shown(const VARIANT& v) {
  return std::to_wstring(V_VT(&v)) + L":" + asText(v);
}

inline void freeStrings(EXCEPINFO& ei) {
  for (BSTR b : {ei.bstrDescription, ei.bstrSource, ei.bstrHelpFile})
    SysFreeString(b);
}

// The name of a library's type or a type's member `id` (-1: the library's or the type's own).
template <class Owner>
std::string nameOf(Owner* owner, LONG id = -1) {
  BSTR b = nullptr;
  owner->GetDocumentation(id, &b, nullptr, nullptr, nullptr);
  const std::string s = narrow(str(b));
  SysFreeString(b);
  return s;
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
  freeStrings(ei);
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
