// The models' objects (and any other library object without a dual interface) as callers
// reach them: IDispatch over the model's member table, with the models' type library
// giving PowerShell and other type-driven callers the members' names and kinds.
#include <deque>
#include <mutex>

#include "com/com_call.h"
#include "com/com_models.h"

namespace zv::com {

namespace {

std::mutex gModelsLibMutex;
ITypeLib* gModelsLib = nullptr;

// The models' type library, resource 2 of the server's own file, loaded once.
ITypeLib* modelsTypeLibrary() {
  std::lock_guard lock(gModelsLibMutex);
  if (!gModelsLib) {
    wchar_t path[MAX_PATH + 4];
    const DWORD n = GetModuleFileNameW(serverModule(), path, MAX_PATH);
    lstrcpyW(path + n, L"\\2");
    if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &gModelsLib))) gModelsLib = nullptr;
  }
  return gModelsLib;
}

const ComModelEntry* modelEntry(StringView name) {
  for (const ComModelEntry& m : comModels())
    if (name == m.name) return &m;
  return nullptr;
}

// The default member (dispatch id 0) of a library object; Item for any other.
StringView defaultMemberName(const Object& object) {
  if (const TypeInfo* type = object.typeInfo())
    for (const MemberInfo& m : type->members)
      if (m.dispId == 0) return m.name;
  return u"Item";
}

class VariantEnum final : public ServerObject<IEnumVARIANT> {
 public:
  explicit VariantEnum(std::vector<Variant> items) : items_(std::move(items)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return querySingle<IEnumVARIANT>(this, riid, IID_IEnumVARIANT, ppv);
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    ULONG done = 0;
    try {
      for (; done < count && next_ < items_.size(); ++done, ++next_)
        toVariant(items_[next_], &out[done]);
    } catch (const Error&) {
      return E_FAIL;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    next_ = std::min<size_t>(items_.size(), next_ + count);
    return next_ < items_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (!out) return E_POINTER;
    auto* copy = new VariantEnum(items_);
    copy->next_ = next_;
    *out = copy;
    return S_OK;
  }

 private:
  std::vector<Variant> items_;
  size_t next_ = 0;
};

class ModelDispatch final : public ServerObject<IDispatch, IZvObject> {
 public:
  explicit ModelDispatch(ObjectRef object)
      : object_(std::move(object)),
        library_(dynamic_cast<LibraryObject*>(object_.get())),
        entry_(modelEntry(object_->typeName())) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        (entry_ && IsEqualIID(riid, *entry_->dispatchIid)))
      *ppv = static_cast<IDispatch*>(this);
    else if (IsEqualIID(riid, kIID_ZvObject))
      *ppv = static_cast<IZvObject*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = entry_ ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0 || !entry_) return DISP_E_BADINDEX;
    ITypeLib* lib = modelsTypeLibrary();
    return lib ? lib->GetTypeInfoOfGuid(*entry_->dispatchIid, info) : TYPE_E_ELEMENTNOTFOUND;
  }
  // The member's dispatch id; named arguments get their parameter's position.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (!names || !ids) return E_POINTER;
    for (UINT i = 0; i < count; ++i)
      ids[i] = DISPID_UNKNOWN;
    if (count == 0 || !library_) return count ? DISP_E_UNKNOWNNAME : S_OK;
    HRESULT hr = DISP_E_UNKNOWNNAME;
    const StringView name = reinterpret_cast<const char16_t*>(names[0]);
    for (const MemberInfo& m : library_->typeInfo()->members) {
      if (!equalsNoCase(m.name, name)) continue;
      ids[0] = m.dispId;
      hr = S_OK;
      for (UINT i = 1; i < count; ++i)
        for (size_t p = 0; p < m.params.size(); ++p)
          if (equalsNoCase(m.params[p].name, reinterpret_cast<const char16_t*>(names[i])))
            ids[i] = static_cast<DISPID>(p);
    }
    for (UINT i = 0; i < count && hr == S_OK; ++i)
      if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* ei, UINT*) override;
  const ObjectRef& STDMETHODCALLTYPE zvObject() override { return object_; }

 private:
  // The member a dispatch id and call kind reach: a put reaches Let (Set for putref, each
  // serving for the other when alone), anything else a method or property get.
  const MemberInfo* memberFor(DISPID id, WORD flags) const {
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const MemberInfo* fallback = nullptr;
    for (const MemberInfo& m : library_->typeInfo()->members) {
      if (m.dispId != id) continue;
      const bool isPut = m.kind == MemberKind::PropertyLet || m.kind == MemberKind::PropertySet;
      if (isPut != put) continue;
      if (!put || (m.kind == MemberKind::PropertySet) == bool(flags & DISPATCH_PROPERTYPUTREF))
        return &m;
      fallback = &m;
    }
    return fallback;
  }

  ObjectRef object_;
  LibraryObject* library_;
  const ComModelEntry* entry_;
};

HRESULT ModelDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* ei, UINT*) {
  if (!params) return E_POINTER;
  if (result) VariantInit(result);
  try {
    if (id == DISPID_NEWENUM) {
      if (!result) return S_OK;
      V_VT(result) = VT_UNKNOWN;
      V_UNKNOWN(result) = new VariantEnum(object_->enumerate());
      return S_OK;
    }
    const MemberInfo* member = library_ ? memberFor(id, flags) : nullptr;
    if (!member) return DISP_E_MEMBERNOTFOUND;
    // Positional arguments arrive last to first, then the named ones by parameter position;
    // a put's value (named DISPID_PROPERTYPUT) goes last, where Binding expects it.
    const UINT named = params->cNamedArgs;
    std::deque<Variant> temps;
    std::vector<std::pair<Variant*, VARIANT*>> back;
    Args args;
    auto take = [&](VARIANT& a) -> Arg {
      if (V_VT(&a) != (VT_BYREF | VT_VARIANT)) return Arg(fromVariant(a));
      temps.push_back(fromVariant(a));
      back.emplace_back(&temps.back(), V_VARIANTREF(&a));
      return Arg::ref(temps.back());
    };
    for (UINT i = params->cArgs; i-- > named;)
      args.push_back(take(params->rgvarg[i]));
    std::optional<Arg> putValue;
    for (UINT i = 0; i < named; ++i) {
      const DISPID which = params->rgdispidNamedArgs[i];
      if (which == DISPID_PROPERTYPUT) {
        putValue.emplace(take(params->rgvarg[i]));
      } else if (which >= 0 && static_cast<size_t>(which) < member->params.size()) {
        args.push_back(take(params->rgvarg[i]).named(member->params[which].name));
      } else {
        return DISP_E_PARAMNOTFOUND;
      }
    }
    if (putValue) args.push_back(std::move(*putValue));
    Variant r;
    if (!putValue && member->params.empty() && !args.empty()) {
      // lv.ListItems(1): a property without parameters given arguments hands them to the
      // default member of what it reads, as VB reads it.
      Args none;
      const ObjectRef holder = requireObject(library_->invokeMember(*member, none));
      r = holder->invoke(defaultMemberName(*holder), kMethod | kPropertyGet, args);
    } else {
      r = library_->invokeMember(*member, args);
    }
    for (auto& [from, to] : back)
      ComCall::store_Variant(*from, to);
    if (result) toVariant(r, result);
    return S_OK;
  } catch (const Error& e) {
    fillExcepInfo(e, ei);
    return DISP_E_EXCEPTION;
  } catch (const std::exception&) {
    return E_FAIL;
  }
}

}  // namespace

IDispatch* modelDispatch(ObjectRef model) {
  return new ModelDispatch(std::move(model));
}

}  // namespace zv::com
