// What the Wine test clients share: counted checks, argument values, and a late-bound call
// whose outcome reads as one text.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace client {

inline int gPassed = 0, gFailed = 0;

inline void check(bool ok, const std::string& what) {
  if (ok) {
    ++gPassed;
  } else {
    ++gFailed;
    std::printf("FAIL: %s\n", what.c_str());
  }
}

// Prints the summary line the Wine run counts; the process's exit code.
inline int summary(const char* name) {
  std::printf("%s: %d passed, %d failed\n", name, gPassed, gFailed);
  return gFailed ? 1 : 0;
}

inline std::wstring str(BSTR b) {
  return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
}
inline std::string narrow(const std::wstring& w) {
  return std::string(w.begin(), w.end());
}

inline VARIANT text(const wchar_t* s) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(s);
  return v;
}
inline VARIANT number(LONG n) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = n;
  return v;
}
inline VARIANT flag(bool b) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
// An object argument (nullptr: Nothing); the VARIANT holds its own reference.
inline VARIANT object(IDispatch* d) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = d;
  if (d) d->AddRef();
  return v;
}
inline VARIANT byRef(VARIANT* target) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&v) = target;
  return v;
}
inline VARIANT missing() {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_ERROR;
  V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
  return v;
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

// The VB error number a failed IDispatch::Invoke stands for.
inline long errorNumber(HRESULT hr, const EXCEPINFO& ei) {
  switch (hr) {
    case DISP_E_EXCEPTION:
      return ei.scode & 0xFFFF;
    case DISP_E_PARAMNOTOPTIONAL:
      return 449;
    case DISP_E_BADPARAMCOUNT:
      return 450;
    case DISP_E_PARAMNOTFOUND:
      return 448;
    case DISP_E_TYPEMISMATCH:
      return 13;
    case DISP_E_OVERFLOW:
      return 6;
    default:
      return hr;
  }
}

struct Outcome {
  HRESULT hr;
  std::wstring text;  // "value" or "#number"
  UINT argErr;
};

// IDispatch::Invoke of `id` with `args` as DISPPARAMS holds them (last argument first, named
// ones first with `named` their ids).
inline Outcome invoke(IDispatch* obj, DISPID id, std::vector<VARIANT> args,
                      std::vector<DISPID> named = {}, WORD flags = DISPATCH_METHOD) {
  DISPPARAMS params{args.data(), named.data(), static_cast<UINT>(args.size()),
                    static_cast<UINT>(named.size())};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO ei{};
  UINT argErr = 0xFFFF;
  const HRESULT hr =
      obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &ei, &argErr);
  Outcome out{hr, FAILED(hr) ? L"#" + std::to_wstring(errorNumber(hr, ei)) : shown(result), argErr};
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
