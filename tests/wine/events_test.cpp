// Under Wine, with ZivoviViruvovTest.dll loaded directly (the server plus a test-only export,
// ZvTestRaiseEvent, that raises an event of a library object): events reach every sink
// advised on ZipLib and UnZipLib, with by-reference arguments coming back, also after the
// object went through a by-reference parameter, which hands back the same object; a
// connection point keeps its container alive; lock counts stay balanced; errors reach
// IDispatch callers as EXCEPINFO with the VB error number.
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
using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();

HMODULE gDll = nullptr;
RaiseFn gRaise = nullptr;

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

HRESULT raise(IUnknown* source, const wchar_t* name, std::vector<VARIANT> args) {
  return gRaise(source, name, args.data(), static_cast<UINT>(args.size()));
}

IConnectionPoint* connectionPoint(IDispatch* source, const IID& events) {
  IConnectionPointContainer* cpc = nullptr;
  IConnectionPoint* cp = nullptr;
  source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
  if (cpc) cpc->FindConnectionPoint(events, &cp);
  if (cpc) cpc->Release();
  return cp;
}

void classInformation(IDispatch* zip) {
  IProvideClassInfo2* pci = nullptr;
  zip->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&pci));
  check(pci != nullptr, "ZipLib answers IProvideClassInfo2");
  if (!pci) return;
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

// Both sinks hear every event; `last` is the one that answered last.
void zipEvents(IDispatch* zip, Sink& sink, Sink& last) {
  VARIANT cancel = flag(false);
  VARIANT message = text(L"Stop now?");
  check(raise(zip, L"Cancel", {message, byRef(&cancel)}) == S_OK && sink.calls == 1 &&
            last.calls == 1 && sink.lastId == 1 && sink.lastCount == 2,
        "Cancel reaches both sinks with dispatch id 1 and two arguments");
  check(sink.lastKinds == std::vector<VARTYPE>{VT_BSTR, VT_BYREF | VT_BOOL},
        "Cancel's arguments: String by value, Boolean by reference");
  check(sink.lastText == L"Stop now?", "Cancel's message");
  check(V_VT(&cancel) == VT_BOOL && V_BOOL(&cancel) == VARIANT_TRUE,
        "bCancel set by the sinks comes back True");
  VariantClear(&message);

  VARIANT count;
  VariantInit(&count);
  V_VT(&count) = VT_I2;
  V_I2(&count) = 42;
  message = text(L"adding a.txt");
  check(raise(zip, L"Progress", {count, message}) == S_OK && sink.lastId == 3 &&
            sink.lastNumber == 42 && sink.lastText == L"adding a.txt",
        "Progress(42, \"adding a.txt\") with the count as a Long");
  check(sink.lastKinds == std::vector<VARTYPE>{VT_I4, VT_BSTR}, "Progress's arguments by value");
  VariantClear(&message);

  VARIANT password = text(L"");
  VARIANT cancel2;
  VariantInit(&cancel2);
  check(raise(zip, L"PasswordRequest", {byRef(&password), byRef(&cancel2)}) == S_OK &&
            last.lastId == 2 && V_VT(&password) == VT_BSTR && str(V_BSTR(&password)) == L"secret",
        "PasswordRequest: the password given by the sink comes back");
  VariantClear(&password);
  check(raise(zip, L"NoSuchEvent", {}) == static_cast<HRESULT>(0x800A01B6),
        "unknown event fails with 0x800A01B6 (438)");
}

// A library object through a by-reference Object parameter comes back as the same COM object,
// and its sinks go on hearing its events.
void identity(IDispatch* zip, Sink& sink) {
  IDispatch* strchr = create(zv::com::kCLSID_StrChr);
  if (!strchr) return;
  struct Row {
    const wchar_t* member;
    std::vector<VARIANT> args;
  };
  VARIANT variable = object(zip), n1 = number(0), n2 = number(0), n3 = number(0);
  Row rows[] = {
      {L"TextBoxCounter", {byRef(&n3), byRef(&n2), byRef(&n1), byRef(&variable)}},
      {L"ItemsToCollection", {byRef(&variable), text(L"a|b")}},
  };
  for (Row& r : rows) {
    const Outcome o = invoke(strchr, idOf(strchr, r.member), r.args);
    check(o.hr == S_OK && V_VT(&variable) == VT_DISPATCH && V_DISPATCH(&variable) == zip,
          narrow(r.member) + " hands the same object back: " + narrow(o.text));
  }
  VariantClear(&rows[1].args[1]);
  const int before = sink.calls;
  VARIANT count = number(1), message = text(L"after");
  raise(V_DISPATCH(&variable), L"Progress", {count, message});
  check(sink.calls == before + 1, "the sink still hears the object's events");
  VariantClear(&message);
  VariantClear(&variable);
  strchr->Release();
}

// EnumConnectionPoints lists the one connection point; a connection point keeps its
// container alive; EnumConnections lists the sinks.
void connectionPoints(IDispatch* zip) {
  IConnectionPointContainer* cpc = nullptr;
  zip->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
  IEnumConnectionPoints* points = nullptr;
  check(cpc && cpc->EnumConnectionPoints(&points) == S_OK && points, "EnumConnectionPoints");
  if (cpc) cpc->Release();
  if (!points) return;
  IConnectionPoint* got[2] = {};
  ULONG fetched = 0;
  IID iid{};
  check(points->Next(2, got, &fetched) == S_FALSE && fetched == 1 &&
            got[0]->GetConnectionInterface(&iid) == S_OK &&
            IsEqualIID(iid, zv::com::kDIID___ZipLib),
        "one connection point, for __ZipLib");
  points->Release();
  if (!got[0]) return;
  zip->Release();  // the connection point holds the container now
  IConnectionPointContainer* back = nullptr;
  IEnumConnections* sinks = nullptr;
  CONNECTDATA data[3] = {};
  check(got[0]->GetConnectionPointContainer(&back) == S_OK && back &&
            got[0]->EnumConnections(&sinks) == S_OK && sinks->Next(3, data, &fetched) == S_FALSE &&
            fetched == 2,
        "the container outlives its other references; two sinks listed");
  for (ULONG i = 0; i < fetched; ++i)
    data[i].pUnk->Release();
  if (sinks) sinks->Release();
  if (back) back->Release();
  got[0]->Release();
}

void archiveEvents() {
  IDispatch* zip = create(zv::com::kCLSID_ZipLib);
  check(zip != nullptr, "ZipLib created");
  if (!zip) return;
  classInformation(zip);
  IConnectionPointContainer* cpc = nullptr;
  IConnectionPoint* none = nullptr;
  zip->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
  check(cpc && cpc->FindConnectionPoint(IID_IDispatch, &none) == CONNECT_E_NOCONNECTION,
        "no connection point for another interface");
  if (cpc) cpc->Release();
  IConnectionPoint* cp = connectionPoint(zip, zv::com::kDIID___ZipLib);
  check(cp != nullptr, "connection point for __ZipLib");
  if (!cp) return;
  Sink sink(zv::com::kDIID___ZipLib), second(zv::com::kDIID___ZipLib);
  DWORD cookie = 0, cookie2 = 0;
  check(cp->Advise(&sink, &cookie) == S_OK && cp->Advise(&second, &cookie2) == S_OK &&
            cookie != cookie2,
        "two sinks advised");
  zipEvents(zip, sink, second);
  identity(zip, sink);
  connectionPoints(zip);  // releases zip
  const int before = sink.calls;
  check(cp->Unadvise(cookie) == S_OK && cp->Unadvise(cookie) == CONNECT_E_NOCONNECTION,
        "Unadvise, once");
  cp->Release();
  check(sink.calls == before && sink.refs == 1 && second.refs == 1,
        "no sink is held once the object is gone");

  // UnZipLib.OverwritePrompt(sFIle, ByRef eResponse): the enumeration goes as a Long.
  IDispatch* unzip = create(zv::com::kCLSID_UnZipLib);
  cp = unzip ? connectionPoint(unzip, zv::com::kDIID___UnZipLib) : nullptr;
  check(cp != nullptr, "connection point for __UnZipLib");
  if (cp) {
    Sink unzipSink(zv::com::kDIID___UnZipLib);
    cp->Advise(&unzipSink, &cookie);
    VARIANT response = number(100), file = text(L"C:\\a.txt");
    check(raise(unzip, L"OverwritePrompt", {file, byRef(&response)}) == S_OK &&
              unzipSink.lastId == 2 && V_I4(&response) == 103,
          "OverwritePrompt: euzOverwriteAllFiles (103) comes back");
    VariantClear(&file);
    cp->Unadvise(cookie);
    cp->Release();
  }
  if (unzip) unzip->Release();

  IDispatch* files = create(zv::com::kCLSID_FileLib);
  if (files) {
    check(files->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)) ==
              E_NOINTERFACE,
          "FileLib is no connection point container");
    files->Release();
  }
}

// An unlock without a lock does not drive the lock count below zero.
void lockCount() {
  auto canUnload = entry<CanUnloadFn>("DllCanUnloadNow");
  IClassFactory* f = factory(zv::com::kCLSID_FileLib);
  if (!f) return;
  f->LockServer(FALSE);
  f->LockServer(TRUE);
  f->Release();
  check(canUnload() == S_FALSE, "a lock after an unbalanced unlock holds the server");
  f = factory(zv::com::kCLSID_FileLib);
  f->LockServer(FALSE);
  f->Release();
  check(canUnload() == S_OK, "every object and lock released");
}

// IDispatch callers see the library's errors as EXCEPINFO and IErrorInfo.
void errors() {
  IDispatch* files = create(zv::com::kCLSID_FileLib);
  check(files != nullptr, "FileLib created");
  if (!files) return;
  LPOLESTR name = const_cast<LPOLESTR>(L"copyfile");
  DISPID id = 0;
  check(SUCCEEDED(files->GetIDsOfNames(IID_NULL, &name, 1, 1033, &id)) && id == 0x60030002,
        "GetIDsOfNames is case-insensitive");
  VARIANT args[2] = {text(L"b"), text(L"a")};
  DISPPARAMS params{args, nullptr, 2, 0};
  EXCEPINFO ei{};
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = files->Invoke(id, IID_NULL, 1033, DISPATCH_METHOD, &params, &result, &ei, nullptr);
  check(hr == DISP_E_EXCEPTION && ei.scode == static_cast<HRESULT>(0x800A01B6),
        "a member not built fails with scode 0x800A01B6");
  check(str(ei.bstrSource) == L"ZivoviViruvov.FileLib", "error source is the ProgID");
  check(str(ei.bstrDescription).find(L"FileLib.CopyFile") != std::wstring::npos,
        "error description names the member");
  SysFreeString(ei.bstrDescription);
  SysFreeString(ei.bstrSource);
  SysFreeString(ei.bstrHelpFile);
  VariantClear(&args[0]);
  VariantClear(&args[1]);
  ISupportErrorInfo* sei = nullptr;
  files->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&sei));
  check(sei && sei->InterfaceSupportsErrorInfo(zv::com::kIID_FileLib) == S_OK,
        "ISupportErrorInfo for _FileLib");
  if (sei) sei->Release();
  files->Release();
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  gDll = LoadLibraryW(L"ZivoviViruvovTest.dll");
  gRaise = gDll ? entry<RaiseFn>("ZvTestRaiseEvent") : nullptr;
  check(gRaise != nullptr, "test export ZvTestRaiseEvent");
  if (gRaise) {
    archiveEvents();
    errors();
    lockCount();
  }
  CoUninitialize();
  return summary("events");
}
