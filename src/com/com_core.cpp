#include <cstring>
#include <mutex>

#include "com/com_call.h"
#include "runtime/convert.h"

namespace zv::com {

std::atomic<long> gServerObjects{0};

namespace {

std::mutex gTypeLibMutex;
ITypeLib* gTypeLib = nullptr;

GUID parseGuid(const char16_t* text) {
  GUID g{};
  CLSIDFromString(reinterpret_cast<LPCOLESTR>(text), &g);
  return g;
}

}  // namespace

HMODULE serverModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&serverModule), &module);
  return module;
}

ITypeLib* typeLibrary() {
  std::lock_guard lock(gTypeLibMutex);
  if (!gTypeLib) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(serverModule(), path, MAX_PATH);
    if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &gTypeLib))) gTypeLib = nullptr;
  }
  return gTypeLib;
}

// ---------------------------------------------------------------------------- ComCore

ComCore::ComCore(ObjectRef object, const IID& iid, const CLSID& clsid)
    : object_(std::move(object)),
      library_(dynamic_cast<LibraryObject*>(object_.get())),
      iid_(iid),
      clsid_(clsid),
      table_(&DispatchTable::of(*object_->typeInfo())) {
  ++gServerObjects;
  const String type = object_->typeName();
  for (const ClassInfo& c : libraryClasses())
    if (type == c.name) class_ = &c;
  rememberIdentity(*object_, *this, hasEvents() ? this : nullptr);
}

ComCore::~ComCore() {
  forgetIdentity(*object_, *this);
  if (dispatchInfo_) dispatchInfo_->Release();
  --gServerObjects;
}

const GUID* ComCore::eventsIid() const {
  static std::vector<std::pair<const ClassInfo*, GUID>> cache;
  static std::mutex m;
  std::lock_guard lock(m);
  for (auto& [c, g] : cache)
    if (c == class_) return &g;
  cache.reserve(8);
  cache.emplace_back(class_, parseGuid(class_->eventsIid));
  return &cache.back().second;
}

HRESULT ComCore::fail(const Error& e) {
  return reportError(e, iid_);
}

HRESULT ComCore::getTypeInfo(UINT index, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  if (!dispatchInfo_) {
    ITypeLib* lib = typeLibrary();
    if (!lib || FAILED(lib->GetTypeInfoOfGuid(iid_, &dispatchInfo_))) return TYPE_E_ELEMENTNOTFOUND;
  }
  dispatchInfo_->AddRef();
  *info = dispatchInfo_;
  return S_OK;
}

HRESULT ComCore::getClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  ITypeLib* lib = typeLibrary();
  return lib ? lib->GetTypeInfoOfGuid(clsid_, info) : E_UNEXPECTED;
}

HRESULT ComCore::findConnectionPoint(IConnectionPointContainer* container, REFIID riid,
                                     IConnectionPoint** cp) {
  if (!cp) return E_POINTER;
  *cp = nullptr;
  if (!hasEvents() || !IsEqualIID(riid, *eventsIid())) return CONNECT_E_NOCONNECTION;
  *cp = newConnectionPoint(container, sinks_, *eventsIid());
  return S_OK;
}

HRESULT ComCore::enumConnectionPoints(IConnectionPointContainer* container,
                                      IEnumConnectionPoints** e) {
  if (!e) return E_POINTER;
  std::vector<IConnectionPoint*> points;
  if (hasEvents()) points.push_back(newConnectionPoint(container, sinks_, *eventsIid()));
  *e = newConnectionPointEnum(std::move(points));
  return S_OK;
}

void ComCore::fire(const MemberInfo& event, Args& args) {
  const std::vector<IDispatch*> listeners = sinks_.listeners();
  struct Release {
    const std::vector<IDispatch*>& sinks;
    ~Release() {
      for (IDispatch* sink : sinks)
        sink->Release();
    }
  } release{listeners};
  if (listeners.empty()) return;
  const size_t n = std::min(args.size(), event.params.size());
  // Each argument as a value of the event parameter's kind; by-reference ones through a
  // temporary that goes back into the library's argument after every sink.
  std::vector<VARIANT> values(n);
  std::vector<VARIANTARG> passed(n);
  for (size_t i = 0; i < n; ++i) {
    const ParamInfo& p = event.params[i];
    VARIANT raw;
    toVariant(args[i].value(), &raw);
    VariantInit(&values[i]);
    const VARTYPE kind = comKind(p.type);
    if (kind == VT_VARIANT || FAILED(VariantChangeType(&values[i], &raw, 0, kind))) {
      VariantClear(&values[i]);
      values[i] = raw;
    } else {
      VariantClear(&raw);
    }
    VARIANTARG& slot = passed[n - 1 - i];
    VariantInit(&slot);
    if (p.byRef) {
      if (kind == VT_VARIANT || V_VT(&values[i]) != kind) {
        V_VT(&slot) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&slot) = &values[i];
      } else {
        V_VT(&slot) = VT_BYREF | kind;
        V_BYREF(&slot) = &V_NONE(&values[i]);
      }
    } else {
      slot = values[i];
    }
  }
  DISPPARAMS params{passed.data(), nullptr, static_cast<UINT>(n), 0};
  for (IDispatch* sink : listeners) {
    EXCEPINFO ei{};
    sink->Invoke(event.dispId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                 &ei, nullptr);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrHelpFile);
  }
  for (size_t i = 0; i < n; ++i) {
    if (event.params[i].byRef) args[i].value() = fromVariant(values[i]);
    VariantClear(&values[i]);
  }
}

// ---------------------------------------------------------------------------- ComCall

void ComCall::addRef(Variant initial, std::function<void(const Variant&)> writeBack) {
  temps_.push_back(std::move(initial));
  args_.push_back(Arg::ref(temps_.back()));
  writeBacks_.emplace_back(&temps_.back(), std::move(writeBack));
}

HRESULT ComCall::run(const std::function<void(const Variant&)>& result) {
  auto writeBack = [&] {
    for (auto& [value, back] : writeBacks_)
      back(*value);
  };
  try {
    const MemberInfo& member = self_.library().typeInfo()->members[index_];
    Variant r = self_.library().invokeMember(member, args_);
    writeBack();
    result(r);
    return S_OK;
  } catch (const Error& e) {
    try {
      writeBack();
    } catch (const Error&) {
    }
    return self_.fail(e);
  } catch (const std::bad_alloc&) {
    return self_.fail(Error(err::kOutOfMemory));
  } catch (const std::exception& e) {
    return self_.fail(Error(51, u"Internal error: " + fromUtf8(e.what())));
  }
}

}  // namespace zv::com
