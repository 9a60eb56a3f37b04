// Under Wine, with ZivoviViruvovTest.dll loaded directly (the server's test build, whose
// export ZvTestRaiseEvent raises an event of a library object): events reach every sink
// advised on ZipLib and UnZipLib, with by-reference arguments coming back, also after the
// object went through a by-reference parameter, which hands back the same object; a
// connection point keeps its container alive; the lock count stays balanced; errors are
// offered through IErrorInfo.
#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include "client.h"
#include "com/com_ids.h"

using namespace client;

namespace {

// Records each event as "id(arguments)", a by-value argument as its kind and value, a
// by-reference one as "&" and its kind; and answers it: bCancel True, the password "secret",
// euzOverwriteAllFiles (103).
class Sink final : public DispatchBase {
 public:
  using DispatchBase::DispatchBase;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    ++calls;
    last = std::to_wstring(id) + L"(";
    for (UINT i = p->cArgs; i-- > 0;) {
      VARIANT& v = p->rgvarg[i];
      const VARTYPE kind = V_VT(&v) & ~VT_BYREF;
      last += (V_VT(&v) & VT_BYREF ? L"&" + std::to_wstring(kind) : shown(v)) + (i ? L"," : L")");
      if (V_VT(&v) == (VT_BYREF | VT_BOOL)) *V_BOOLREF(&v) = VARIANT_TRUE;
      if (V_VT(&v) == (VT_BYREF | VT_I4)) *V_I4REF(&v) = 103;
      if (V_VT(&v) == (VT_BYREF | VT_BSTR)) {
        SysFreeString(*V_BSTRREF(&v));
        *V_BSTRREF(&v) = SysAllocString(L"secret");
      }
    }
    return S_OK;
  }

  int calls = 0;
  std::wstring last;
};

using RaiseFn = HRESULT(STDAPICALLTYPE*)(IUnknown*, LPCWSTR, VARIANT*, UINT);
using ClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
HMODULE gDll = nullptr;
RaiseFn gRaise = nullptr;

template <class F>
F entry(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(gDll, name)));
}

Ref<IClassFactory> factory(const CLSID& clsid) {
  Ref<IClassFactory> f;
  entry<ClassObjectFn>("DllGetClassObject")(clsid, IID_IClassFactory, f.out());
  return f;
}

Ref<IDispatch> create(const CLSID& clsid) {
  Ref<IDispatch> d;
  if (Ref<IClassFactory> f = factory(clsid)) f->CreateInstance(nullptr, IID_IDispatch, d.out());
  return d;
}

Ref<IConnectionPoint> pointOf(IDispatch* object, const IID& events) {
  Ref<IConnectionPointContainer> cpc;
  Ref<IConnectionPoint> cp;
  if (SUCCEEDED(object->QueryInterface(IID_IConnectionPointContainer, cpc.out())))
    cpc->FindConnectionPoint(events, &cp);
  return cp;
}

// One event raised: its arguments in call order (`byRef`: which go by reference), what the
// sink hears, and the by-reference values after it.
struct Raised {
  const wchar_t* event;
  std::vector<VARIANT> values;
  std::vector<bool> byRef;
  const wchar_t* heard;
  const wchar_t* back;
  HRESULT hr = S_OK;
};

void raise(IDispatch* object, Raised c, const Sink& sink) {
  std::vector<VARIANT> args;
  std::wstring back;
  for (size_t i = 0; i < c.values.size(); ++i)
    args.push_back(c.byRef[i] ? byRef(&c.values[i]) : c.values[i]);
  const HRESULT hr = gRaise(object, c.event, args.data(), static_cast<UINT>(args.size()));
  for (size_t i = 0; i < c.values.size(); ++i) {
    if (c.byRef[i]) back += shown(c.values[i]) + L";";
    VariantClear(&c.values[i]);
  }
  const std::string at = narrow(c.event) + ": ";
  check(hr == c.hr, at + "HRESULT " + std::to_string(hr));
  if (FAILED(c.hr)) return;
  check(sink.last == c.heard, at + "heard " + narrow(sink.last));
  check(back == c.back, at + "back " + narrow(back));
}

// A library object through a by-reference Object parameter comes back as the same COM object,
// and its sinks go on hearing its events.
void identity(IDispatch* zip, const Sink& sink) {
  Ref<IDispatch> strchr = create(zv::com::kCLSID_StrChr);
  VARIANT variable = object(zip), n1 = number(0), n2 = number(0), n3 = number(0);
  VARIANT items = text(L"a|b");
  std::pair<const wchar_t*, std::vector<VARIANT>> calls[] = {
      {L"TextBoxCounter", {byRef(&n3), byRef(&n2), byRef(&n1), byRef(&variable)}},
      {L"ItemsToCollection", {byRef(&variable), items}},
  };
  for (const auto& [member, args] : calls) {
    const Outcome o = invoke(strchr, idOf(strchr, member), args);
    check(o.hr == S_OK && V_VT(&variable) == VT_DISPATCH && V_DISPATCH(&variable) == zip,
          narrow(member) + " hands the same object back: " + narrow(o.text));
  }
  VariantClear(&items);
  raise(V_DISPATCH(&variable),
        {L"Progress", {number(1), text(L"after")}, {false, false}, L"3(3:1,8:after)", L""}, sink);
  VariantClear(&variable);
}

// EnumConnectionPoints lists the one connection point, whose EnumConnections lists both sinks.
void enumerate(IDispatch* zip) {
  Ref<IConnectionPointContainer> cpc;
  Ref<IEnumConnectionPoints> points;
  IConnectionPoint* got[2] = {};
  Ref<IEnumConnections> sinks;
  CONNECTDATA data[3] = {};
  ULONG fetched = 0, listed = 0;
  IID iid{};
  check(zip->QueryInterface(IID_IConnectionPointContainer, cpc.out()) == S_OK &&
            cpc->EnumConnectionPoints(&points) == S_OK &&
            points->Next(2, got, &fetched) == S_FALSE && fetched == 1,
        "one connection point");
  Ref<IConnectionPoint> point(got[0]);
  check(point && point->GetConnectionInterface(&iid) == S_OK &&
            IsEqualIID(iid, zv::com::kDIID___ZipLib) && point->EnumConnections(&sinks) == S_OK &&
            sinks->Next(3, data, &listed) == S_FALSE && listed == 2,
        "the connection point for __ZipLib, with two sinks");
  for (ULONG i = 0; i < listed; ++i)
    data[i].pUnk->Release();
}

// An unlock without a lock does not drive the lock count below zero.
void lockCount() {
  auto canUnload = entry<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow");
  for (BOOL lock : {FALSE, TRUE}) {
    {
      Ref<IClassFactory> f = factory(zv::com::kCLSID_FileLib);
      f->LockServer(FALSE);
      if (lock) f->LockServer(TRUE);
    }
    check(canUnload() == (lock ? S_FALSE : S_OK),
          lock ? "a lock after an unbalanced unlock holds" : "every object and lock released");
  }
}

// ZipLib names its coclass and default source interface.
void classInfo(IDispatch* zip) {
  Ref<IProvideClassInfo2> pci;
  Ref<ITypeInfo> ci;
  GUID g{};
  check(SUCCEEDED(zip->QueryInterface(IID_IProvideClassInfo2, pci.out())) &&
            SUCCEEDED(pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &g)) &&
            IsEqualGUID(g, zv::com::kDIID___ZipLib) && SUCCEEDED(pci->GetClassInfo(&ci)) &&
            nameOf(ci.p) == "ZipLib",
        "ZipLib's class information: the coclass ZipLib, default source __ZipLib");
}

// The connection points of ZipLib; the events of both archivers with
// their by-reference arguments; no connection point on a class without events.
void archiveEvents() {
  Ref<IDispatch> zip = create(zv::com::kCLSID_ZipLib);
  if (!zip) return check(false, "ZipLib created");
  classInfo(zip);

  Ref<IConnectionPointContainer> cpc;
  Ref<IConnectionPoint> other;
  check(SUCCEEDED(zip->QueryInterface(IID_IConnectionPointContainer, cpc.out())) &&
            cpc->FindConnectionPoint(IID_IDispatch, &other) == CONNECT_E_NOCONNECTION,
        "no connection point for another interface");
  Ref<IConnectionPoint> cp = pointOf(zip, zv::com::kDIID___ZipLib);
  if (!cp) return check(false, "connection point for __ZipLib");
  Sink sink(zv::com::kDIID___ZipLib), second(zv::com::kDIID___ZipLib);
  DWORD cookie = 0, secondCookie = 0;
  check(SUCCEEDED(cp->Advise(&sink, &cookie)) && cookie &&
            SUCCEEDED(cp->Advise(&second, &secondCookie)) && secondCookie != cookie,
        "two sinks advised");

  const VARIANT no = flag(false);
  // The count goes as a Long whatever the raiser passed; bCancel, the password come back.
  // clang-format off
  const Raised events[] = {
    {L"Cancel", {text(L"Stop now?"), no}, {false, true}, L"1(8:Stop now?,&11)", L"11:-1;"},
    {L"Progress", {variant(VT_I2, [](VARIANT& v) { V_I2(&v) = 42; }), text(L"adding a.txt")},
     {false, false}, L"3(3:42,8:adding a.txt)", L""},
    {L"PasswordRequest", {text(L""), no}, {true, true}, L"2(&8,&11)", L"8:secret;11:-1;"},
    {L"NoSuchEvent", {}, {}, L"", L"", static_cast<HRESULT>(0x800A01B6)},
  };
  // clang-format on
  for (const Raised& c : events) {
    raise(zip, c, sink);
    check(second.calls == sink.calls && second.last == sink.last,
          narrow(c.event) + " reaches the second sink");
  }
  identity(zip, sink);
  enumerate(zip);

  const int before = sink.calls;
  check(SUCCEEDED(cp->Unadvise(cookie)), "Unadvise");
  raise(zip, {L"Cancel", {text(L"x"), no}, {false, true}, L"1(8:x,&11)", L"11:-1;"}, second);
  check(sink.calls == before, "no event after Unadvise");
  cpc.reset();
  zip.reset();  // the connection point holds the container now
  Ref<IConnectionPointContainer> back;
  check(cp->GetConnectionPointContainer(&back) == S_OK && back,
        "a connection point keeps its container alive");
  back.reset();
  cp.reset();
  check(sink.refs == 1 && second.refs == 1, "no sink is held once the object is gone");

  Ref<IDispatch> unzip = create(zv::com::kCLSID_UnZipLib);
  Ref<IConnectionPoint> unzipPoint =
      unzip ? pointOf(unzip, zv::com::kDIID___UnZipLib) : Ref<IConnectionPoint>();
  if (!unzipPoint) return check(false, "connection point for __UnZipLib");
  Sink unzipSink(zv::com::kDIID___UnZipLib);
  unzipPoint->Advise(&unzipSink, &cookie);
  raise(unzip,
        {L"OverwritePrompt",
         {text(L"C:\\a.txt"), number(100)},
         {false, true},
         L"2(8:C:\\a.txt,&3)",
         L"3:103;"},
        unzipSink);
  unzipPoint->Unadvise(cookie);

  Ref<IDispatch> files = create(zv::com::kCLSID_FileLib);
  Ref<IConnectionPointContainer> none;
  check(files && files->QueryInterface(IID_IConnectionPointContainer, none.out()) == E_NOINTERFACE,
        "FileLib is no connection point container");
}

// The library's errors reach callers through IErrorInfo too (calls.vbs reads their numbers,
// texts and sources as VBScript's Err).
void errorInfo() {
  Ref<IDispatch> strings = create(zv::com::kCLSID_StrChr);
  Ref<ISupportErrorInfo> sei;
  check(strings && SUCCEEDED(strings->QueryInterface(IID_ISupportErrorInfo, sei.out())) &&
            sei->InterfaceSupportsErrorInfo(zv::com::kIID_StrChr) == S_OK,
        "ISupportErrorInfo for _StrChr");
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  gDll = LoadLibraryW(L"ZivoviViruvovTest.dll");
  gRaise = gDll ? entry<RaiseFn>("ZvTestRaiseEvent") : nullptr;
  check(gRaise != nullptr, "test export ZvTestRaiseEvent");
  if (gRaise) {
    archiveEvents();
    errorInfo();
    lockCount();
  }
  CoUninitialize();
  return summary("events");
}
