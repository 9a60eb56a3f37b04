#include "com/caller_object.h"

#include <dispex.h>

#include <cstring>
#include <deque>
#include <map>

#include "com/com_call.h"
#include "com/com_models.h"
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

namespace {

// The dispatch ids of each type of the caller's objects (the type information's GUID),
// looked up once on the calling thread: a list-view's rows are all of one type.
struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const { return memcmp(&a, &b, sizeof a) < 0; }
};
CallerObject::IdMap* idsOfType(IDispatch* dispatch) {
  thread_local std::map<GUID, CallerObject::IdMap, GuidLess> types;
  ITypeInfo* info = nullptr;
  if (FAILED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || !info) return nullptr;
  TYPEATTR* attr = nullptr;
  GUID guid = GUID_NULL;
  if (SUCCEEDED(info->GetTypeAttr(&attr)) && attr) {
    guid = attr->guid;
    info->ReleaseTypeAttr(attr);
  }
  info->Release();
  return IsEqualGUID(guid, GUID_NULL) ? nullptr : &types[guid];
}

}  // namespace

CallerObject::IdMap& CallerObject::ids() {
  if (!ids_) {
    ids_ = idsOfType(dispatch_);
    if (!ids_) ids_ = &ownIds_;
  }
  return *ids_;
}

DISPID CallerObject::dispId(StringView name) {
  IdMap& known = ids();
  const String key = lcase(name);
  if (auto it = known.find(key); it != known.end()) return it->second;
  DISPID id = DISPID_UNKNOWN;
  BSTR bname = toBstr(name);
  HRESULT hr = E_FAIL;
  if (dispatchEx_) hr = dispatchEx_->GetDispID(bname, fdexNameCaseInsensitive, &id);
  if (FAILED(hr)) {
    LPOLESTR names[] = {bname};
    hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  }
  SysFreeString(bname);
  // A collection whose default member has another name still answers Item(i) by it.
  if (FAILED(hr) && equalsNoCase(name, u"Item")) {
    id = DISPID_VALUE;
    hr = S_OK;
  }
  if (FAILED(hr)) raise(err::kNotSupported);
  known.emplace(key, id);
  return id;
}

DISPID CallerObject::argumentId(StringView member, StringView argument) {
  IdMap& known = ids();
  const String key = lcase(member) + u'\x01' + lcase(argument);
  if (auto it = known.find(key); it != known.end()) return it->second;
  BSTR names[] = {toBstr(member), toBstr(argument)};
  DISPID got[2] = {DISPID_UNKNOWN, DISPID_UNKNOWN};
  const HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, got);
  SysFreeString(names[0]);
  SysFreeString(names[1]);
  if (FAILED(hr) || got[1] == DISPID_UNKNOWN) raise(err::kNamedArgNotFound);
  known.emplace(key, got[1]);
  return got[1];
}

Variant CallerObject::invokeId(StringView name, DISPID id, WORD flags, Args& args) {
  // DISPPARAMS order: a put's value first (named DISPID_PROPERTYPUT), then the named
  // arguments, then the positional ones last to first. By-reference arguments go as
  // VT_BYREF | VT_VARIANT to a copy that returns to the caller's variable afterwards.
  const size_t n = args.size();
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && n > 0;
  std::vector<size_t> order;  // the argument each slot holds
  std::vector<DISPID> namedIds;
  if (put) {
    order.push_back(n - 1);
    namedIds.push_back(DISPID_PROPERTYPUT);
  }
  const size_t ordinary = put ? n - 1 : n;
  for (size_t i = 0; i < ordinary; ++i)
    if (!args[i].name().empty() && !args[i].value().isMissing()) {
      namedIds.push_back(argumentId(name, args[i].name()));
      order.push_back(i);
    }
  for (size_t i = ordinary; i-- > 0;)
    if (args[i].name().empty()) order.push_back(i);

  const size_t slots = order.size();
  std::vector<VARIANT> values(slots), refs(slots);
  for (size_t k = 0; k < slots; ++k)
    VariantInit(&values[k]);
  auto cleanup = [&] {
    for (VARIANT& v : values)
      VariantClear(&v);
  };
  try {
    for (size_t k = 0; k < slots; ++k) {
      const Arg& arg = args[order[k]];
      toVariant(arg.value(), &values[k]);
      if (arg.isRef()) {
        VariantInit(&refs[k]);
        V_VT(&refs[k]) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&refs[k]) = &values[k];
      } else {
        refs[k] = values[k];
      }
    }
  } catch (...) {
    cleanup();
    throw;
  }
  DISPPARAMS params{refs.data(), namedIds.empty() ? nullptr : namedIds.data(),
                    static_cast<UINT>(slots), static_cast<UINT>(namedIds.size())};
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
  if (FAILED(hr)) {
    cleanup();
    VariantClear(&result);
    raiseFromHresult(hr, &ei);
  }
  try {
    for (size_t k = 0; k < slots; ++k)
      if (args[order[k]].isRef()) args[order[k]].value() = fromVariant(values[k]);
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
  return invokeId(name, id, flags, args);
}

// The class name, as VB's TypeName gives it: the coclass an object names through
// IProvideClassInfo (a control's "TreeView" rather than its interface "ITreeView"), else
// the name of the type information its IDispatch hands out.
String CallerObject::typeName() const {
  ITypeInfo* info = nullptr;
  String name = u"Object";
  IProvideClassInfo* provider = nullptr;
  if (SUCCEEDED(
          dispatch_->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&provider)))) {
    if (FAILED(provider->GetClassInfo(&info))) info = nullptr;
    provider->Release();
  }
  if (info || (SUCCEEDED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) && info)) {
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
  return modelDispatch(obj);
}

}  // namespace zv::com
