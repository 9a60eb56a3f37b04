// Under Wine, after regsvr32: events reach a client's sink through the connection point
// of ZipLib and UnZipLib, with by-reference arguments coming back; errors of the server
// reach IDispatch callers as EXCEPINFO with the VB error number. No class raises events
// yet, so the events are fired through the DLL's test-only export ZvTestRaiseEvent.
#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "com/com_ids.h"

namespace {

int gPassed = 0, gFailed = 0;

void check(bool ok, const std::string& what) {
  if (ok) {
    ++gPassed;
  } else {
    ++gFailed;
    std::printf("FAIL: %s\n", what.c_str());
  }
}

std::wstring str(BSTR b) {
  return b ? std::wstring(b, SysStringLen(b)) : std::wstring();
}

// Records each event and answers it: Cancel sets bCancel, PasswordRequest gives a
// password, OverwritePrompt answers euzOverwriteAllFiles.
class Sink final : public IDispatch {
 public:
  explicit Sink(const IID& events) : events_(events) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, events_)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
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
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    ++calls;
    lastId = id;
    lastCount = p->cArgs;
    lastKinds.clear();
    for (UINT i = p->cArgs; i-- > 0;)
      lastKinds.push_back(V_VT(&p->rgvarg[i]));
    VARIANT* first = p->cArgs ? &p->rgvarg[p->cArgs - 1] : nullptr;
    VARIANT* second = p->cArgs > 1 ? &p->rgvarg[p->cArgs - 2] : nullptr;
    if (first && V_VT(first) == VT_BSTR) lastText = str(V_BSTR(first));
    if (first && V_VT(first) == VT_I4) lastNumber = V_I4(first);
    if (second && V_VT(second) == VT_BSTR) lastText = str(V_BSTR(second));
    if (second && V_VT(second) == (VT_BYREF | VT_BOOL)) *V_BOOLREF(second) = VARIANT_TRUE;
    if (second && V_VT(second) == (VT_BYREF | VT_I4)) *V_I4REF(second) = 103;
    if (first && V_VT(first) == (VT_BYREF | VT_BSTR)) {
      SysFreeString(*V_BSTRREF(first));
      *V_BSTRREF(first) = SysAllocString(L"secret");
    }
    return S_OK;
  }

  ULONG refs = 1;
  int calls = 0;
  DISPID lastId = 0;
  UINT lastCount = 0;
  std::vector<VARTYPE> lastKinds;
  std::wstring lastText;
  LONG lastNumber = 0;

 private:
  IID events_;
};

using RaiseFn = HRESULT(STDAPICALLTYPE*)(IUnknown*, LPCWSTR, VARIANT*, UINT);

VARIANT text(const wchar_t* s) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(s);
  return v;
}

VARIANT byRef(VARIANT* target) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&v) = target;
  return v;
}

void archiveEvents(RaiseFn raise) {
  IDispatch* zip = nullptr;
  HRESULT hr = CoCreateInstance(zv::com::kCLSID_ZipLib, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(&zip));
  check(SUCCEEDED(hr) && zip, "CoCreateInstance ZipLib");
  if (!zip) return;

  IProvideClassInfo2* pci = nullptr;
  check(SUCCEEDED(zip->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&pci))),
        "ZipLib answers IProvideClassInfo2");
  if (pci) {
    GUID g{};
    check(SUCCEEDED(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &g)) &&
              IsEqualGUID(g, zv::com::kDIID___ZipLib),
          "default source interface is __ZipLib");
    ITypeInfo* ci = nullptr;
    BSTR name = nullptr;
    check(SUCCEEDED(pci->GetClassInfo(&ci)) && ci &&
              SUCCEEDED(ci->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr)) &&
              str(name) == L"ZipLib",
          "class information names the coclass ZipLib");
    SysFreeString(name);
    if (ci) ci->Release();
    pci->Release();
  }

  IConnectionPointContainer* cpc = nullptr;
  check(
      SUCCEEDED(zip->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc))),
      "ZipLib is a connection point container");
  if (!cpc) return;
  IConnectionPoint* cp = nullptr;
  check(cpc->FindConnectionPoint(IID_IDispatch, &cp) == CONNECT_E_NOCONNECTION,
        "no connection point for another interface");
  check(SUCCEEDED(cpc->FindConnectionPoint(zv::com::kDIID___ZipLib, &cp)) && cp,
        "connection point for __ZipLib");
  if (!cp) return;
  Sink sink(zv::com::kDIID___ZipLib);
  DWORD cookie = 0;
  check(SUCCEEDED(cp->Advise(&sink, &cookie)) && cookie, "Advise");

  // Cancel(sMsg, ByRef bCancel): the sink sets bCancel, which comes back.
  VARIANT cancel;
  VariantInit(&cancel);
  V_VT(&cancel) = VT_BOOL;
  V_BOOL(&cancel) = VARIANT_FALSE;
  VARIANT args[2] = {text(L"Stop now?"), byRef(&cancel)};
  hr = raise(zip, L"Cancel", args, 2);
  check(hr == S_OK && sink.calls == 1 && sink.lastId == 1 && sink.lastCount == 2,
        "Cancel reaches the sink with dispatch id 1 and two arguments");
  check(sink.lastKinds == std::vector<VARTYPE>{VT_BSTR, VT_BYREF | VT_BOOL},
        "Cancel's arguments: String by value, Boolean by reference");
  check(sink.lastText == L"Stop now?", "Cancel's message");
  check(V_VT(&cancel) == VT_BOOL && V_BOOL(&cancel) == VARIANT_TRUE,
        "bCancel set by the sink comes back True");
  VariantClear(&args[0]);

  // Progress(lCount, sMsg): dispatch id 3, by value.
  VARIANT count;
  VariantInit(&count);
  V_VT(&count) = VT_I2;
  V_I2(&count) = 42;
  VARIANT progress[2] = {count, text(L"adding a.txt")};
  hr = raise(zip, L"Progress", progress, 2);
  check(hr == S_OK && sink.lastId == 3 && sink.lastNumber == 42 && sink.lastText == L"adding a.txt",
        "Progress(42, \"adding a.txt\") with the count as a Long");
  check(sink.lastKinds == std::vector<VARTYPE>{VT_I4, VT_BSTR}, "Progress's arguments by value");
  VariantClear(&progress[1]);

  // PasswordRequest(ByRef sPassword, ByRef bCancel).
  VARIANT password = text(L"");
  VARIANT cancel2;
  VariantInit(&cancel2);
  VARIANT request[2] = {byRef(&password), byRef(&cancel2)};
  hr = raise(zip, L"PasswordRequest", request, 2);
  check(hr == S_OK && sink.lastId == 2 && V_VT(&password) == VT_BSTR &&
            str(V_BSTR(&password)) == L"secret",
        "PasswordRequest: the password given by the sink comes back");
  VariantClear(&password);

  // An event the class does not have fails with error 438.
  hr = raise(zip, L"NoSuchEvent", nullptr, 0);
  check(hr == static_cast<HRESULT>(0x800A01B6), "unknown event fails with 0x800A01B6 (438)");

  // After Unadvise the sink hears nothing.
  const int before = sink.calls;
  check(SUCCEEDED(cp->Unadvise(cookie)), "Unadvise");
  VARIANT again[2] = {text(L"x"), byRef(&cancel)};
  raise(zip, L"Cancel", again, 2);
  check(sink.calls == before, "no event after Unadvise");
  VariantClear(&again[0]);
  cp->Release();
  cpc->Release();
  zip->Release();

  // UnZipLib.OverwritePrompt(sFIle, ByRef eResponse): the enumeration goes as a Long.
  IDispatch* unzip = nullptr;
  CoCreateInstance(zv::com::kCLSID_UnZipLib, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                   reinterpret_cast<void**>(&unzip));
  check(unzip != nullptr, "CoCreateInstance UnZipLib");
  if (!unzip) return;
  unzip->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
  cp = nullptr;
  if (cpc) cpc->FindConnectionPoint(zv::com::kDIID___UnZipLib, &cp);
  check(cp != nullptr, "connection point for __UnZipLib");
  if (cp) {
    Sink unzipSink(zv::com::kDIID___UnZipLib);
    cp->Advise(&unzipSink, &cookie);
    VARIANT response;
    VariantInit(&response);
    V_VT(&response) = VT_I4;
    V_I4(&response) = 100;
    VARIANT prompt[2] = {text(L"C:\\a.txt"), byRef(&response)};
    hr = raise(unzip, L"OverwritePrompt", prompt, 2);
    check(hr == S_OK && unzipSink.lastId == 2 && V_I4(&response) == 103,
          "OverwritePrompt: euzOverwriteAllFiles (103) comes back");
    VariantClear(&prompt[0]);
    cp->Unadvise(cookie);
    cp->Release();
  }
  if (cpc) cpc->Release();
  unzip->Release();

  // A class without events offers no connection points.
  IDispatch* files = nullptr;
  CoCreateInstance(zv::com::kCLSID_FileLib, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                   reinterpret_cast<void**>(&files));
  if (files) {
    IConnectionPointContainer* none = nullptr;
    check(files->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&none)) ==
              E_NOINTERFACE,
          "FileLib is no connection point container");
    files->Release();
  }
}

// IDispatch callers see the library's errors as EXCEPINFO and IErrorInfo: a separator
// beyond position 32767 overflows in StrChr.GetLeft, which has no trap.
void errors() {
  IDispatch* strings = nullptr;
  CoCreateInstance(zv::com::kCLSID_StrChr, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                   reinterpret_cast<void**>(&strings));
  check(strings != nullptr, "CoCreateInstance StrChr");
  if (!strings) return;
  LPOLESTR name = const_cast<LPOLESTR>(L"getleft");
  DISPID id = 0;
  check(SUCCEEDED(strings->GetIDsOfNames(IID_NULL, &name, 1, 1033, &id)) && id == 0x60030000,
        "GetIDsOfNames is case-insensitive");
  VARIANT args[2] = {text(L"|"), text((std::wstring(40000, L' ') + L"|").c_str())};
  DISPPARAMS params{args, nullptr, 2, 0};
  EXCEPINFO ei{};
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = strings->Invoke(id, IID_NULL, 1033, DISPATCH_METHOD, &params, &result, &ei, nullptr);
  check(hr == DISP_E_EXCEPTION && ei.scode == static_cast<HRESULT>(0x800A0006),
        "an overflow fails with scode 0x800A0006");
  check(str(ei.bstrSource) == L"ZivoviViruvov.StrChr", "error source is the ProgID");
  check(str(ei.bstrDescription) == L"Overflow", "error description");
  SysFreeString(ei.bstrDescription);
  SysFreeString(ei.bstrSource);
  SysFreeString(ei.bstrHelpFile);
  VariantClear(&args[0]);
  VariantClear(&args[1]);
  ISupportErrorInfo* sei = nullptr;
  strings->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&sei));
  check(sei && sei->InterfaceSupportsErrorInfo(zv::com::kIID_StrChr) == S_OK,
        "ISupportErrorInfo for _StrChr");
  if (sei) sei->Release();
  strings->Release();
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  {
    // Loading the server is enough to reach its test export.
    IUnknown* any = nullptr;
    CoCreateInstance(zv::com::kCLSID_FileLib, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                     reinterpret_cast<void**>(&any));
    HMODULE dll = GetModuleHandleW(L"ZivoviViruvov.dll");
    auto raise = dll ? reinterpret_cast<RaiseFn>(
                           reinterpret_cast<void*>(GetProcAddress(dll, "ZvTestRaiseEvent")))
                     : nullptr;
    check(raise != nullptr, "test export ZvTestRaiseEvent");
    if (raise) archiveEvents(raise);
    errors();
    if (any) any->Release();
  }
  CoUninitialize();
  std::printf("events: %d passed, %d failed\n", gPassed, gFailed);
  return gFailed ? 1 : 0;
}
