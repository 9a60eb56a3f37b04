// Under Wine, with ZivoviViruvovTest.dll loaded directly (the server's test build, whose
// export ZvTestRaiseEvent raises an event of a library object): events reach every sink
// advised on ZipLib and UnZipLib, with by-reference arguments coming back, also after the
// object went through a by-reference parameter, which hands back the same object; a
// connection point keeps its container alive; the lock count stays balanced; errors of the
// server reach IDispatch callers as EXCEPINFO with the VB error number.
#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include "client.h"
#include "com/com_ids.h"

using namespace client;

namespace {

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

using ClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
HMODULE gDll = nullptr;

template <class F>
F entry(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(gDll, name)));
}

IClassFactory* factory(const CLSID& clsid) {
  IClassFactory* f = nullptr;
  entry<ClassObjectFn>("DllGetClassObject")(clsid, IID_IClassFactory, reinterpret_cast<void**>(&f));
  return f;
}

IDispatch* create(const CLSID& clsid) {
  IDispatch* d = nullptr;
  if (IClassFactory* f = factory(clsid)) {
    f->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&d));
    f->Release();
  }
  return d;
}

// A library object through a by-reference Object parameter comes back as the same COM object,
// and its sinks go on hearing its events.
void identity(RaiseFn raise, IDispatch* zip, const Sink& sink) {
  IDispatch* strchr = create(zv::com::kCLSID_StrChr);
  VARIANT variable = object(zip), n1 = number(0), n2 = number(0), n3 = number(0);
  std::pair<const wchar_t*, std::vector<VARIANT>> calls[] = {
      {L"TextBoxCounter", {byRef(&n3), byRef(&n2), byRef(&n1), byRef(&variable)}},
      {L"ItemsToCollection", {byRef(&variable), text(L"a|b")}},
  };
  for (const auto& [member, args] : calls) {
    const Outcome o = invoke(strchr, idOf(strchr, member), args);
    check(o.hr == S_OK && V_VT(&variable) == VT_DISPATCH && V_DISPATCH(&variable) == zip,
          narrow(member) + " hands the same object back: " + narrow(o.text));
  }
  VariantClear(&calls[1].second[1]);
  const int before = sink.calls;
  VARIANT progress[2] = {number(1), text(L"after")};
  raise(V_DISPATCH(&variable), L"Progress", progress, 2);
  check(sink.calls == before + 1, "the sink still hears the object's events");
  VariantClear(&progress[1]);
  VariantClear(&variable);
  strchr->Release();
}

// EnumConnectionPoints lists the one connection point, whose EnumConnections lists both sinks.
void enumerate(IConnectionPointContainer* cpc) {
  IEnumConnectionPoints* points = nullptr;
  IConnectionPoint* got[2] = {};
  IEnumConnections* sinks = nullptr;
  CONNECTDATA data[3] = {};
  ULONG fetched = 0, listed = 0;
  IID iid{};
  check(cpc->EnumConnectionPoints(&points) == S_OK && points->Next(2, got, &fetched) == S_FALSE &&
            fetched == 1 && got[0]->GetConnectionInterface(&iid) == S_OK &&
            IsEqualIID(iid, zv::com::kDIID___ZipLib) && got[0]->EnumConnections(&sinks) == S_OK &&
            sinks->Next(3, data, &listed) == S_FALSE && listed == 2,
        "one connection point, for __ZipLib, with two sinks");
  for (ULONG i = 0; i < listed; ++i)
    data[i].pUnk->Release();
  for (IUnknown* u : {static_cast<IUnknown*>(sinks), static_cast<IUnknown*>(got[0]),
                      static_cast<IUnknown*>(points)})
    if (u) u->Release();
}

// An unlock without a lock does not drive the lock count below zero.
void lockCount() {
  auto canUnload = entry<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow");
  for (BOOL lock : {FALSE, TRUE}) {
    IClassFactory* f = factory(zv::com::kCLSID_FileLib);
    f->LockServer(FALSE);
    if (lock) f->LockServer(TRUE);
    f->Release();
    check(canUnload() == (lock ? S_FALSE : S_OK),
          lock ? "a lock after an unbalanced unlock holds" : "every object and lock released");
  }
}

void archiveEvents(RaiseFn raise) {
  IDispatch* zip = create(zv::com::kCLSID_ZipLib);
  HRESULT hr = S_OK;
  check(zip != nullptr, "ZipLib created");
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
  Sink second(zv::com::kDIID___ZipLib);
  DWORD secondCookie = 0;
  check(SUCCEEDED(cp->Advise(&sink, &cookie)) && cookie &&
            SUCCEEDED(cp->Advise(&second, &secondCookie)) && secondCookie != cookie,
        "two sinks advised");

  // Cancel(sMsg, ByRef bCancel): the sink sets bCancel, which comes back.
  VARIANT cancel;
  VariantInit(&cancel);
  V_VT(&cancel) = VT_BOOL;
  V_BOOL(&cancel) = VARIANT_FALSE;
  VARIANT args[2] = {text(L"Stop now?"), byRef(&cancel)};
  hr = raise(zip, L"Cancel", args, 2);
  check(
      hr == S_OK && sink.calls == 1 && second.calls == 1 && sink.lastId == 1 && sink.lastCount == 2,
      "Cancel reaches both sinks with dispatch id 1 and two arguments");
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

  identity(raise, zip, sink);
  enumerate(cpc);

  // After Unadvise the sink hears nothing.
  const int before = sink.calls;
  check(SUCCEEDED(cp->Unadvise(cookie)), "Unadvise");
  VARIANT again[2] = {text(L"x"), byRef(&cancel)};
  raise(zip, L"Cancel", again, 2);
  check(sink.calls == before, "no event after Unadvise");
  VariantClear(&again[0]);
  cpc->Release();
  zip->Release();  // the connection point holds the container now
  IConnectionPointContainer* back = nullptr;
  check(cp->GetConnectionPointContainer(&back) == S_OK && back,
        "a connection point keeps its container alive");
  if (back) back->Release();
  cp->Release();
  check(sink.refs == 1 && second.refs == 1, "no sink is held once the object is gone");

  // UnZipLib.OverwritePrompt(sFIle, ByRef eResponse): the enumeration goes as a Long.
  IDispatch* unzip = create(zv::com::kCLSID_UnZipLib);
  check(unzip != nullptr, "UnZipLib created");
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
  IDispatch* files = create(zv::com::kCLSID_FileLib);
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
  IDispatch* strings = create(zv::com::kCLSID_StrChr);
  check(strings != nullptr, "StrChr created");
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
  gDll = LoadLibraryW(L"ZivoviViruvovTest.dll");
  auto raise = gDll ? entry<RaiseFn>("ZvTestRaiseEvent") : nullptr;
  check(raise != nullptr, "test export ZvTestRaiseEvent");
  if (raise) {
    archiveEvents(raise);
    errors();
    lockCount();
  }
  CoUninitialize();
  return summary("events");
}
