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

// ---------------------------------------------------------------------------- connection point

class ConnectionPoint final : public ServerObject<IConnectionPoint> {
 public:
  ConnectionPoint(IConnectionPointContainer* container, const IID& iid)
      : container_(container), iid_(iid) {}
  ~ConnectionPoint() {
    for (auto& [cookie, sink] : sinks_)
      sink->Release();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return querySingle<IConnectionPoint>(this, riid, IID_IConnectionPoint, ppv);
  }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) override {
    if (!c) return E_POINTER;
    // The container outlives the connection point it hands out only while referenced.
    if (!container_) return E_UNEXPECTED;
    container_->AddRef();
    *c = container_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    IDispatch* d = nullptr;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&d))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d))))
      return CONNECT_E_CANNOTCONNECT;
    *cookie = ++lastCookie_;
    sinks_.emplace_back(*cookie, d);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it)
      if (it->first == cookie) {
        it->second->Release();
        sinks_.erase(it);
        return S_OK;
      }
    return CONNECT_E_NOCONNECTION;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** e) override {
    if (e) *e = nullptr;
    return E_NOTIMPL;
  }

  void detach() { container_ = nullptr; }
  std::vector<IDispatch*> sinks() const {
    std::vector<IDispatch*> out;
    for (auto& [cookie, sink] : sinks_) {
      sink->AddRef();
      out.push_back(sink);
    }
    return out;
  }

 private:
  IConnectionPointContainer* container_;
  IID iid_;
  DWORD lastCookie_ = 0;
  std::vector<std::pair<DWORD, IDispatch*>> sinks_;
};

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
      clsid_(clsid) {
  ++gServerObjects;
  const String type = object_->typeName();
  for (const ClassInfo& c : libraryClasses())
    if (type == c.name) class_ = &c;
  if (hasEvents()) connectEvents(object_.get(), this);
}

ComCore::~ComCore() {
  if (hasEvents()) connectEvents(object_.get(), nullptr);
  if (connectionPoint_) {
    static_cast<ConnectionPoint*>(connectionPoint_)->detach();
    connectionPoint_->Release();
  }
  if (interfaceInfo_) interfaceInfo_->Release();
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
  lastError_ = e;
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

ITypeInfo* ComCore::interfaceInfo() {
  if (interfaceInfo_) return interfaceInfo_;
  ITypeInfo* dispatch = nullptr;
  if (FAILED(getTypeInfo(0, &dispatch))) return nullptr;
  // The dual interface's function table (TKIND_INTERFACE) is what ITypeInfo::Invoke
  // calls through; it is reached from the dispatch view.
  HREFTYPE ref = 0;
  if (SUCCEEDED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)))
    dispatch->GetRefTypeInfo(ref, &interfaceInfo_);
  if (!interfaceInfo_) {
    interfaceInfo_ = dispatch;
    interfaceInfo_->AddRef();
  }
  dispatch->Release();
  return interfaceInfo_;
}

HRESULT ComCore::getIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
  ITypeInfo* info = interfaceInfo();
  if (!info) return E_UNEXPECTED;
  return DispGetIDsOfNames(info, names, count, ids);
}

namespace {

// The Automation kind behind a parameter's type description, and whether it is passed
// by reference.
VARTYPE resolveKind(ITypeInfo* owner, const TYPEDESC& td) {
  if (td.vt == VT_USERDEFINED) {
    ITypeInfo* ref = nullptr;
    VARTYPE vt = VT_EMPTY;
    if (SUCCEEDED(owner->GetRefTypeInfo(td.hreftype, &ref))) {
      TYPEATTR* attr = nullptr;
      if (SUCCEEDED(ref->GetTypeAttr(&attr))) {
        switch (attr->typekind) {
          case TKIND_ENUM:
            vt = VT_I4;
            break;
          case TKIND_RECORD:
            vt = VT_RECORD;
            break;
          case TKIND_ALIAS:
            vt = resolveKind(ref, attr->tdescAlias);
            break;
          case TKIND_DISPATCH:
          case TKIND_INTERFACE:
            vt = VT_DISPATCH;
            break;
          default:
            break;
        }
        ref->ReleaseTypeAttr(attr);
      }
      ref->Release();
    }
    return vt;
  }
  if (td.vt == VT_PTR) {
    const VARTYPE inner = resolveKind(owner, *td.lptdesc);
    return inner == VT_DISPATCH && td.lptdesc->vt == VT_USERDEFINED ? VT_DISPATCH : VT_EMPTY;
  }
  if (td.vt == VT_SAFEARRAY) return VT_ARRAY | resolveKind(owner, *td.lptdesc);
  return td.vt;
}

// The kind a by-reference parameter points to, or VT_EMPTY for a by-value parameter.
VARTYPE byRefKind(ITypeInfo* owner, const TYPEDESC& td) {
  if (td.vt != VT_PTR) return VT_EMPTY;
  const TYPEDESC& inner = *td.lptdesc;
  if (inner.vt == VT_USERDEFINED && resolveKind(owner, inner) == VT_DISPATCH) return VT_EMPTY;
  if (inner.vt == VT_PTR) return resolveKind(owner, inner) == VT_DISPATCH ? VT_DISPATCH : VT_EMPTY;
  return resolveKind(owner, inner);
}

bool isMissing(const VARIANT& v) {
  const VARIANT* p = &v;
  if (V_VT(p) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(p)) p = V_VARIANTREF(p);
  return V_VT(p) == VT_ERROR && V_ERROR(p) == DISP_E_PARAMNOTFOUND;
}

}  // namespace

HRESULT ComCore::invoke(void* instance, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* ei, UINT* argErr) {
  ITypeInfo* info = interfaceInfo();
  if (!info) return E_UNEXPECTED;
  if (!params) return E_INVALIDARG;
  // The function the call reaches, to give by-reference parameters what Wine's
  // ITypeInfo::Invoke insists on: a reference of the parameter's own kind. Callers like
  // VBScript pass their variables as VT_BYREF | VT_VARIANT, so such arguments go through a
  // temporary of the declared kind that is written back after the call.
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return E_UNEXPECTED;
  const UINT funcCount = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  FUNCDESC* func = nullptr;
  UINT memberIndex = 0;
  for (UINT i = 0; i < funcCount && !func; ++i) {
    FUNCDESC* f = nullptr;
    if (FAILED(info->GetFuncDesc(i, &f))) continue;
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const bool matches =
        f->memid == id &&
        (put ? (f->invkind == INVOKE_PROPERTYPUT && (flags & DISPATCH_PROPERTYPUT)) ||
                   (f->invkind == INVOKE_PROPERTYPUTREF && (flags & DISPATCH_PROPERTYPUTREF))
             : (f->invkind == INVOKE_FUNC || f->invkind == INVOKE_PROPERTYGET));
    if (matches) {
      func = f;
      memberIndex = i;
    } else {
      info->ReleaseFuncDesc(f);
    }
  }

  std::vector<VARIANTARG> args;
  std::deque<VARIANT> temps;
  struct WriteBack {
    VARIANT* temp;
    VARIANT* target;  // the caller's VT_BYREF | VT_VARIANT target
    bool array;       // goes back as an array of Variants, the kind scripts hold
  };
  std::vector<WriteBack> writeBacks;
  DISPPARAMS adjusted = *params;
  const bool onlyPutNamed =
      params->cNamedArgs == 0 ||
      (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT);
  HRESULT hr = S_OK;
  if (func && onlyPutNamed) {
    UINT declared = 0;
    for (SHORT p = 0; p < func->cParams; ++p)
      if (!(func->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) ++declared;
    const UINT named = params->cNamedArgs;
    const UINT positional = params->cArgs - named;
    // A required parameter left out is error 449, as VB reports it (Wine's ITypeInfo::Invoke
    // would answer 450 or a type mismatch).
    UINT required = 0;
    for (UINT p = 0; p < declared; ++p)
      if (!(func->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FOPT)) required = p + 1;
    const UINT given = named ? declared : positional;
    if (params->cArgs <= declared) {
      for (UINT p = 0; p < required && hr == S_OK; ++p) {
        const bool put = named && p + 1 == declared;
        VARIANTARG* a = put ? &params->rgvarg[0]
                            : (p < positional ? &params->rgvarg[params->cArgs - 1 - p] : nullptr);
        const bool optional = func->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FOPT;
        if (!optional && (p >= given && !put ? true : !a || isMissing(*a)))
          hr = DISP_E_PARAMNOTOPTIONAL;
      }
    }
    // Arguments in declaration order: named put value last.
    std::vector<VARIANTARG*> ordered;
    for (UINT k = 0; k < positional; ++k)
      ordered.push_back(&params->rgvarg[params->cArgs - 1 - k]);
    if (named) {
      while (ordered.size() + 1 < declared)
        ordered.push_back(nullptr);
      ordered.push_back(&params->rgvarg[0]);
    }
    // Left-out by-reference parameters at the end get a temporary holding their default.
    const MemberInfo* member = class_ && memberIndex < class_->type->members.size()
                                   ? &class_->type->members[memberIndex]
                                   : nullptr;
    UINT lastRef = static_cast<UINT>(ordered.size());
    for (UINT p = lastRef; p < declared; ++p) {
      const ELEMDESC& ed = func->lprgelemdescParam[p];
      if (!(ed.paramdesc.wParamFlags & PARAMFLAG_FOPT)) break;
      if (byRefKind(info, ed.tdesc) != VT_EMPTY) lastRef = p + 1;
    }
    while (ordered.size() < lastRef)
      ordered.push_back(nullptr);
    std::vector<VARIANTARG> built(ordered.size());
    for (size_t p = 0; p < ordered.size() && SUCCEEDED(hr); ++p) {
      VARIANTARG* a = ordered[p];
      const ELEMDESC& ed = func->lprgelemdescParam[p];
      const VARTYPE kind = p < declared ? byRefKind(info, ed.tdesc) : VARTYPE{VT_EMPTY};
      if (a && kind == VT_EMPTY) {
        built[p] = *a;
        continue;
      }
      if ((kind & VT_ARRAY) && a && V_VT(a) != (VT_BYREF | kind)) {
        // A script's array (of Variants) becomes an array of the declared element kind.
        temps.emplace_back();
        VARIANT& t = temps.back();
        VariantInit(&t);
        try {
          V_ARRAY(&t) = toSafeArrayOf(fromVariant(*a), kind & VT_TYPEMASK);
          V_VT(&t) = kind;
        } catch (const Error&) {
          if (argErr) *argErr = static_cast<UINT>(a - params->rgvarg);
          hr = DISP_E_TYPEMISMATCH;
          break;
        }
        VariantInit(&built[p]);
        V_VT(&built[p]) = VT_BYREF | kind;
        V_ARRAYREF(&built[p]) = &V_ARRAY(&t);
        if (V_VT(a) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(a))
          writeBacks.push_back({&t, V_VARIANTREF(a), true});
        continue;
      }
      if (kind == VT_EMPTY || kind == VT_RECORD || (kind & VT_ARRAY)) {
        if (a) {
          built[p] = *a;
        } else if (ed.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT && ed.paramdesc.pparamdescex) {
          temps.emplace_back();
          VariantInit(&temps.back());
          VariantCopy(&temps.back(), &ed.paramdesc.pparamdescex->varDefaultValue);
          built[p] = temps.back();
        } else {
          VariantInit(&built[p]);
          V_VT(&built[p]) = VT_ERROR;
          V_ERROR(&built[p]) = DISP_E_PARAMNOTFOUND;
        }
        continue;
      }
      if (a && V_VT(a) == (VT_BYREF | kind)) {
        built[p] = *a;
        continue;
      }
      temps.emplace_back();
      VARIANT& t = temps.back();
      VariantInit(&t);
      if (!a || isMissing(*a)) {
        // The default: the type library's, else the one the API description gives (the
        // type library cannot hold a text default for a by-reference String).
        if (ed.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT && ed.paramdesc.pparamdescex) {
          VariantCopy(&t, &ed.paramdesc.pparamdescex->varDefaultValue);
        } else if (member && p < member->params.size() && member->params[p].defaultValue) {
          try {
            toVariant(*member->params[p].defaultValue, &t);
          } catch (const Error&) {
          }
        } else {
          V_VT(&t) = VT_ERROR;
          V_ERROR(&t) = DISP_E_PARAMNOTFOUND;
        }
      } else if (V_VT(a) & VT_BYREF) {
        VariantCopyInd(&t, a);
      } else {
        VariantCopy(&t, a);
      }
      if (kind != VT_VARIANT && V_VT(&t) != kind) {
        VARIANT converted;
        VariantInit(&converted);
        if (V_VT(&t) == VT_EMPTY && kind == VT_DISPATCH) {
          V_VT(&converted) = VT_DISPATCH;
          V_DISPATCH(&converted) = nullptr;
          hr = S_OK;
        } else {
          hr = VariantChangeType(&converted, &t, 0, kind);
        }
        VariantClear(&t);
        if (FAILED(hr)) {
          if (argErr) *argErr = a ? static_cast<UINT>(a - params->rgvarg) : 0;
          hr = DISP_E_TYPEMISMATCH;
          break;
        }
        t = converted;
      }
      VariantInit(&built[p]);
      if (kind == VT_VARIANT) {
        V_VT(&built[p]) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&built[p]) = &t;
      } else {
        V_VT(&built[p]) = VT_BYREF | kind;
        V_BYREF(&built[p]) = &V_NONE(&t);
      }
      if (a && V_VT(a) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(a))
        writeBacks.push_back({&t, V_VARIANTREF(a), false});
    }
    if (SUCCEEDED(hr)) {
      // Back to DISPPARAMS order, last to first: the put value (declared last) comes first,
      // where its name DISPID_PROPERTYPUT points.
      args.assign(built.rbegin(), built.rend());
      adjusted.rgvarg = args.data();
      adjusted.cArgs = static_cast<UINT>(args.size());
    }
  }
  if (func) info->ReleaseFuncDesc(func);
  if (hr == DISP_E_PARAMNOTOPTIONAL) return hr;
  if (FAILED(hr)) {
    for (VARIANT& t : temps)
      VariantClear(&t);
    return hr;
  }

  lastError_.reset();
  hr = info->Invoke(instance, id, flags, &adjusted, result, ei, argErr);
  for (const WriteBack& w : writeBacks) {
    if (w.array) {
      try {
        SAFEARRAY* back = toSafeArrayOf(fromVariant(*w.temp), VT_VARIANT);
        VariantClear(w.target);
        V_VT(w.target) = VT_ARRAY | VT_VARIANT;
        V_ARRAY(w.target) = back;
      } catch (const Error&) {
      }
      continue;
    }
    VariantClear(w.target);
    *w.target = *w.temp;
    VariantInit(w.temp);
  }
  for (VARIANT& t : temps)
    VariantClear(&t);
  if (FAILED(hr) && lastError_) {
    // The library's own error, with everything VB shows of it.
    if (ei && hr == DISP_E_EXCEPTION) {
      SysFreeString(ei->bstrDescription);
      SysFreeString(ei->bstrSource);
      SysFreeString(ei->bstrHelpFile);
    }
    fillExcepInfo(*lastError_, ei);
    lastError_.reset();
    return ei ? DISP_E_EXCEPTION : hr;
  }
  return hr;
}

HRESULT ComCore::getClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  ITypeLib* lib = typeLibrary();
  return lib ? lib->GetTypeInfoOfGuid(clsid_, info) : E_UNEXPECTED;
}

HRESULT ComCore::findConnectionPoint(IUnknown* container, REFIID riid, IConnectionPoint** cp) {
  if (!cp) return E_POINTER;
  *cp = nullptr;
  if (!hasEvents() || !IsEqualIID(riid, *eventsIid())) return CONNECT_E_NOCONNECTION;
  if (!connectionPoint_)
    connectionPoint_ =
        new ConnectionPoint(static_cast<IConnectionPointContainer*>(container), *eventsIid());
  connectionPoint_->AddRef();
  *cp = connectionPoint_;
  return S_OK;
}

void ComCore::fire(const MemberInfo& event, Args& args) {
  if (!connectionPoint_) return;
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
  for (IDispatch* sink : static_cast<ConnectionPoint*>(connectionPoint_)->sinks()) {
    EXCEPINFO ei{};
    sink->Invoke(event.dispId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                 &ei, nullptr);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrHelpFile);
    sink->Release();
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
