#include "com/caller_object.h"

#include <dispex.h>

#include <deque>

#include "com/com_call.h"
#include "runtime/convert.h"

namespace zv::com {

namespace {
// mingw's uuid library lacks it.
constexpr GUID kIID_IDispatchEx = {
    0xa6ef9860, 0xc720, 0x11d0, {0x93, 0x37, 0x00, 0xa0, 0xc9, 0x0d, 0xca, 0xa9}};
}  // namespace

// ---------------------------------------------------------------------------- CallerObject

CallerObject::CallerObject(IDispatch* dispatch) : dispatch_(dispatch) {
  dispatch_->AddRef();
  // Wine's VBScript class instances answer names only through IDispatchEx.
  if (FAILED(dispatch_->QueryInterface(kIID_IDispatchEx, reinterpret_cast<void**>(&dispatchEx_))))
    dispatchEx_ = nullptr;
}

CallerObject::~CallerObject() {
  if (dispatchEx_) dispatchEx_->Release();
  dispatch_->Release();
}

DISPID CallerObject::dispId(StringView name) {
  const String key = lcase(name);
  if (auto it = ids_.find(key); it != ids_.end()) return it->second;
  DISPID id = DISPID_UNKNOWN;
  BSTR bname = toBstr(name);
  HRESULT hr = E_FAIL;
  if (dispatchEx_) hr = dispatchEx_->GetDispID(bname, fdexNameCaseInsensitive, &id);
  if (FAILED(hr)) {
    LPOLESTR names[] = {bname};
    hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  }
  SysFreeString(bname);
  if (FAILED(hr)) raise(err::kNotSupported);
  ids_.emplace(key, id);
  return id;
}

Variant CallerObject::invokeId(DISPID id, WORD flags, Args& args) {
  // Arguments go in reverse order; by-reference ones as VT_BYREF | VT_VARIANT to a copy
  // that returns to the caller's variable afterwards.
  const size_t n = args.size();
  std::vector<VARIANT> values(n), refs(n);
  for (size_t i = 0; i < n; ++i) {
    if (!args[i].name().empty()) raise(err::kNamedArgNotFound);
    VARIANT& slot = refs[n - 1 - i];
    toVariant(args[i].value(), &values[i]);
    if (args[i].isRef()) {
      VariantInit(&slot);
      V_VT(&slot) = VT_BYREF | VT_VARIANT;
      V_VARIANTREF(&slot) = &values[i];
    } else {
      slot = values[i];
    }
  }
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{refs.data(), nullptr, static_cast<UINT>(n), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO ei{};
  UINT argErr = 0;
  HRESULT hr;
  if (dispatchEx_)
    hr = dispatchEx_->InvokeEx(id, LOCALE_USER_DEFAULT, flags, &params, &result, &ei, nullptr);
  else
    hr =
        dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &ei, &argErr);
  auto cleanup = [&] {
    for (size_t i = 0; i < n; ++i)
      VariantClear(&values[i]);
  };
  if (FAILED(hr)) {
    cleanup();
    VariantClear(&result);
    raiseFromHresult(hr, &ei);
  }
  try {
    for (size_t i = 0; i < n; ++i)
      if (args[i].isRef()) args[i].value() = fromVariant(values[i]);
    Variant out = fromVariant(result);
    cleanup();
    VariantClear(&result);
    return out;
  } catch (...) {
    cleanup();
    VariantClear(&result);
    throw;
  }
}

Variant CallerObject::invoke(StringView name, unsigned kinds, Args& args) {
  const DISPID id = dispId(name);
  WORD flags = 0;
  if (kinds & kPropertyPutRef)
    flags = DISPATCH_PROPERTYPUTREF;
  else if (kinds & kPropertyPut)
    flags = DISPATCH_PROPERTYPUT;
  else
    flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  return invokeId(id, flags, args);
}

String CallerObject::typeName() const {
  ITypeInfo* info = nullptr;
  String name = u"Object";
  if (SUCCEEDED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) && info) {
    BSTR b = nullptr;
    if (SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &b, nullptr, nullptr, nullptr)) && b)
      name = fromBstr(b);
    SysFreeString(b);
    info->Release();
  }
  return name;
}

std::vector<Variant> CallerObject::enumerate() {
  std::vector<Variant> items;
  // _NewEnum first; objects without it are walked by Count and Item(1 .. Count).
  VARIANT en;
  VariantInit(&en);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXCEPINFO ei{};
  HRESULT hr = dispatch_->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                 DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &en, &ei, nullptr);
  IEnumVARIANT* e = nullptr;
  if (SUCCEEDED(hr) && (V_VT(&en) == VT_UNKNOWN || V_VT(&en) == VT_DISPATCH) && V_UNKNOWN(&en) &&
      SUCCEEDED(V_UNKNOWN(&en)->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&e)))) {
    VariantClear(&en);
    VARIANT item;
    ULONG fetched = 0;
    VariantInit(&item);
    try {
      while (e->Next(1, &item, &fetched) == S_OK && fetched == 1) {
        items.push_back(fromVariant(item));
        VariantClear(&item);
      }
    } catch (...) {
      VariantClear(&item);
      e->Release();
      throw;
    }
    e->Release();
    return items;
  }
  if (SUCCEEDED(hr)) VariantClear(&en);
  if (hr == DISP_E_EXCEPTION) {
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrHelpFile);
  }
  Args none2;
  const int32_t count = toLong(invoke(u"Count", kMethod | kPropertyGet, none2));
  for (int32_t i = 1; i <= count; ++i) {
    Args index;
    index.emplace_back(Variant(i));
    items.push_back(invoke(u"Item", kMethod | kPropertyGet, index));
  }
  return items;
}

// ---------------------------------------------------------------------------- NameDispatch

namespace {

// A library object without an interface in the type library (a model, a Collection):
// callers reach its members by name, and For Each through _NewEnum.
class NameDispatch final : public ServerObject<IDispatch, IZvObject>, public Identity {
 public:
  explicit NameDispatch(ObjectRef object) : object_(std::move(object)) {
    rememberIdentity(*object_, *this, nullptr);
  }
  ~NameDispatch() override { forgetIdentity(*object_, *this); }
  IDispatch* addRefIfAlive() override { return refs_.addIfAlive() ? this : nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
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
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    for (UINT i = 0; i < count; ++i)
      ids[i] = DISPID_UNKNOWN;
    if (count == 0) return S_OK;
    const String name = lcase(reinterpret_cast<const char16_t*>(names[0]));
    if (const TypeInfo* type = object_->typeInfo()) {
      bool known = false;
      for (const MemberInfo& m : type->members)
        known |= equalsNoCase(m.name, name);
      if (!known) return DISP_E_UNKNOWNNAME;
    }
    for (size_t i = 0; i < names_.size(); ++i)
      if (names_[i] == name)
        return ids[0] = static_cast<DISPID>(i + 1), count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    names_.push_back(name);
    ids[0] = static_cast<DISPID>(names_.size());
    return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* ei, UINT*) override;
  const ObjectRef& STDMETHODCALLTYPE zvObject() override { return object_; }

 private:
  ObjectRef object_;
  std::vector<String> names_;
};

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

HRESULT NameDispatch::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* ei, UINT*) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_POINTER;
  if (result) VariantInit(result);
  try {
    if (id == DISPID_NEWENUM) {
      if (!result) return S_OK;
      V_VT(result) = VT_UNKNOWN;
      V_UNKNOWN(result) = new VariantEnum(object_->enumerate());
      return S_OK;
    }
    if (id < 1 || static_cast<size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
    // Positional arguments arrive last to first; the put value is the named one.
    const UINT named = params->cNamedArgs;
    std::deque<Variant> temps;
    Args args;
    std::vector<std::pair<Variant*, VARIANT*>> back;
    for (UINT i = params->cArgs; i-- > named;) {
      VARIANT& a = params->rgvarg[i];
      if (V_VT(&a) == (VT_BYREF | VT_VARIANT)) {
        temps.push_back(fromVariant(a));
        args.push_back(Arg::ref(temps.back()));
        back.emplace_back(&temps.back(), V_VARIANTREF(&a));
      } else {
        args.emplace_back(fromVariant(a));
      }
    }
    for (UINT i = 0; i < named; ++i)
      args.emplace_back(fromVariant(params->rgvarg[i]));
    unsigned kinds = 0;
    if (flags & DISPATCH_PROPERTYPUTREF)
      kinds = kPropertyPutRef;
    else if (flags & DISPATCH_PROPERTYPUT)
      kinds = kPropertyPut;
    else
      kinds = kMethod | kPropertyGet;
    Variant r = object_->invoke(names_[static_cast<size_t>(id) - 1], kinds, args);
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

IDispatch* toDispatch(const ObjectRef& obj) {
  if (!obj) return nullptr;
  if (auto* caller = dynamic_cast<CallerObject*>(obj.get())) {
    caller->dispatch()->AddRef();
    return caller->dispatch();
  }
  if (IDispatch* known = knownIdentity(*obj)) return known;
  const String type = obj->typeName();
  if (obj->typeInfo())
    for (const ComClassEntry& c : comClasses())
      if (type == c.name) return c.make(obj);
  return new NameDispatch(obj);
}

}  // namespace zv::com
