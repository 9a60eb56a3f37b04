// zv_script_host SCRIPT.vbs: runs a VBScript file in the system's VBScript engine with the
// WScript members the tests use (Echo, Quit, Sleep, CreateObject). Unlike Wine's own
// wscript, CreateObject(progid, prefix) connects the object's events to the script's prefix_Event
// subs, through the object's connection point, as the Windows Script Host does; by-reference
// arguments come back from the subs. Script errors are printed with their line, and make the exit
// code non-zero.
#include <activscp.h>
#include <ocidl.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "client.h"

using client::attrOf;
using client::DispatchBase;
using client::Ref;
using client::UnknownBase;

namespace {

// IActiveScriptParse of this architecture (mingw's uuid library lacks the 64-bit one).
#ifdef _WIN64
constexpr IID kParseIid = {
    0xc7ef7658, 0xe1ee, 0x480e, {0x97, 0xea, 0xd5, 0x2c, 0xb4, 0xd7, 0x6d, 0x17}};
#else
constexpr IID kParseIid = {
    0xbb1a2ae2, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
#endif

IActiveScript* gEngine = nullptr;
int gExitCode = 0;

// Writes `value` into the caller's by-reference slot `target` of its own kind (the kinds the
// library's events pass by reference).
void storeByRef(VARIANT* target, VARIANT& value) {
  const VARTYPE kind = V_VT(target) & ~VT_BYREF;
  VARIANT converted;
  VariantInit(&converted);
  if (kind == VT_VARIANT) {
    VariantCopy(V_VARIANTREF(target), &value);
  } else if (SUCCEEDED(VariantChangeType(&converted, &value, 0, kind))) {
    if (kind == VT_BOOL) *V_BOOLREF(target) = V_BOOL(&converted);
    if (kind == VT_I4) *V_I4REF(target) = V_I4(&converted);
    if (kind == VT_BSTR) std::swap(*V_BSTRREF(target), V_BSTR(&converted));
  }
  VariantClear(&converted);
}

// The events of one object, delivered to the script's prefix_Event subs.
class EventSink final : public DispatchBase {
 public:
  EventSink(IID events, ITypeInfo* info, std::wstring prefix)
      : DispatchBase(events), info_(info), prefix_(std::move(prefix)) {}

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    BSTR name = nullptr;
    UINT count = 0;
    if (FAILED(info_->GetNames(id, &name, 1, &count)) || count == 0) return S_OK;
    std::wstring handler = prefix_ + client::str(name);
    SysFreeString(name);
    Ref<IDispatch> script;
    if (FAILED(gEngine->GetScriptDispatch(nullptr, &script))) return S_OK;
    LPOLESTR names[] = {handler.data()};
    DISPID member;
    if (SUCCEEDED(script->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member))) {
      // Each by-reference argument travels as a Variant the sub may assign.
      const UINT n = params->cArgs;
      std::vector<VARIANT> values(n), passed(n);
      for (UINT i = 0; i < n; ++i) {
        VariantInit(&values[i]);
        VariantInit(&passed[i]);
        VariantCopyInd(&values[i], &params->rgvarg[i]);
        V_VT(&passed[i]) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&passed[i]) = &values[i];
      }
      DISPPARAMS call{passed.data(), nullptr, n, 0};
      script->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &call, nullptr,
                     nullptr, nullptr);
      for (UINT i = 0; i < n; ++i) {
        if (V_VT(&params->rgvarg[i]) & VT_BYREF) storeByRef(&params->rgvarg[i], values[i]);
        VariantClear(&values[i]);
      }
    }
    return S_OK;
  }

 private:
  ITypeInfo* info_;
  std::wstring prefix_;
};

std::vector<std::unique_ptr<EventSink>> gSinks;

// Connects `object`'s default source interface to prefix_Event subs.
HRESULT connect(IDispatch* object, const std::wstring& prefix) {
  Ref<IProvideClassInfo> provider;
  Ref<ITypeInfo> coclass;
  HRESULT hr = object->QueryInterface(IID_IProvideClassInfo, provider.out());
  if (SUCCEEDED(hr)) hr = provider->GetClassInfo(&coclass);
  if (FAILED(hr)) return hr;
  ITypeInfo* events = nullptr;  // the sink keeps it
  for (UINT i = 0; i < attrOf(coclass).cImplTypes && !events; ++i) {
    INT flags = 0;
    HREFTYPE ref;
    coclass->GetImplTypeFlags(i, &flags);
    if ((flags & IMPLTYPEFLAG_FSOURCE) && (flags & IMPLTYPEFLAG_FDEFAULT) &&
        SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref)))
      coclass->GetRefTypeInfo(ref, &events);
  }
  if (!events) return E_NOINTERFACE;
  const IID iid = attrOf(events).guid;
  Ref<IConnectionPointContainer> container;
  Ref<IConnectionPoint> point;
  hr = object->QueryInterface(IID_IConnectionPointContainer, container.out());
  if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(iid, &point);
  if (FAILED(hr)) return hr;
  auto sink = std::make_unique<EventSink>(iid, events, prefix);
  DWORD cookie;
  hr = point->Advise(sink.get(), &cookie);
  if (SUCCEEDED(hr)) gSinks.push_back(std::move(sink));
  return hr;
}

std::wstring text(const VARIANT& v) {
  return client::asText(v, VARIANT_ALPHABOOL);
}

// The WScript object: Echo, Quit, Sleep, CreateObject.
class WScript final : public DispatchBase {
 public:
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    static const wchar_t* kMembers[] = {L"Echo", L"Quit", L"Sleep", L"CreateObject"};
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (DISPID k = 0; k < 4; ++k)
        if (lstrcmpiW(names[i], kMembers[k]) == 0) ids[i] = k + 1;
      if (ids[i] == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    std::vector<VARIANT> args(params->cArgs);  // in call order
    for (UINT i = 0; i < params->cArgs; ++i) {
      VariantInit(&args[i]);
      VariantCopyInd(&args[i], &params->rgvarg[params->cArgs - 1 - i]);
    }
    HRESULT hr = S_OK;
    switch (id) {
      case 1: {
        std::wstring line;
        for (size_t i = 0; i < args.size(); ++i)
          line += (i ? L" " : L"") + text(args[i]);
        std::string bytes(line.size() * 3 + 1, '\0');
        bytes.resize(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                         bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                         nullptr));
        std::printf("%s\r\n", bytes.c_str());
        break;
      }
      case 2:
        std::fflush(stdout);
        ExitProcess(args.empty() ? 0 : static_cast<UINT>(_wtoi(text(args[0]).c_str())));
      case 3:
        Sleep(args.empty() ? 0 : static_cast<DWORD>(_wtoi(text(args[0]).c_str())));
        break;
      case 4: {
        CLSID clsid;
        IDispatch* object = nullptr;
        hr = args.empty() ? DISP_E_BADPARAMCOUNT : CLSIDFromProgID(V_BSTR(&args[0]), &clsid);
        if (SUCCEEDED(hr))
          hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch,
                                reinterpret_cast<void**>(&object));
        if (SUCCEEDED(hr) && args.size() > 1) hr = connect(object, text(args[1]));
        if (SUCCEEDED(hr) && result) {
          V_VT(result) = VT_DISPATCH;
          V_DISPATCH(result) = object;
        } else if (object) {
          object->Release();
        }
        break;
      }
    }
    for (VARIANT& v : args)
      VariantClear(&v);
    return hr;
  }
};

WScript gWScript;

class Site final : public UnknownBase<IActiveScriptSite> {
 public:
  Site() : UnknownBase(IID_IActiveScriptSite) {}
  HRESULT STDMETHODCALLTYPE GetLCID(LCID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item,
                                        ITypeInfo** info) override {
    if (info) *info = nullptr;
    if (lstrcmpiW(name, L"WScript") != 0) return TYPE_E_ELEMENTNOTFOUND;
    if ((mask & SCRIPTINFO_IUNKNOWN) && item) {
      *item = &gWScript;
      gWScript.AddRef();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
    EXCEPINFO info{};
    DWORD context;
    ULONG line = 0;
    LONG column = 0;
    error->GetExceptionInfo(&info);
    error->GetSourcePosition(&context, &line, &column);
    std::printf("script error at line %lu: %ls\r\n", line + 1,
                info.bstrDescription ? info.bstrDescription : L"(no description)");
    client::freeStrings(info);
    gExitCode = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }
};

Site gSite;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zv_script_host SCRIPT.vbs\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file && bytes.empty()) return 2;
  std::wstring code(bytes.size(), L'\0');
  code.resize(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                  code.data(), static_cast<int>(code.size())));
  CoInitialize(nullptr);
  CLSID vbscript;
  IActiveScriptParse* parser = nullptr;
  if (FAILED(CLSIDFromProgID(L"VBScript", &vbscript)) ||
      FAILED(CoCreateInstance(vbscript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                              reinterpret_cast<void**>(&gEngine))) ||
      FAILED(gEngine->QueryInterface(kParseIid, reinterpret_cast<void**>(&parser)))) {
    std::printf("no VBScript engine\r\n");
    return 2;
  }
  parser->InitNew();
  gEngine->SetScriptSite(&gSite);
  gEngine->AddNamedItem(L"WScript", SCRIPTITEM_ISVISIBLE);
  parser->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISVISIBLE,
                          nullptr, nullptr);
  gEngine->SetScriptState(SCRIPTSTATE_CONNECTED);
  std::fflush(stdout);
  return gExitCode;
}
