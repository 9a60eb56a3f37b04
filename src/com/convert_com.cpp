// VARIANT <-> Variant, SAFEARRAY <-> SafeArray, and the error HRESULTs.
#include <cmath>
#include <cstring>

#include "com/caller_object.h"
#include "com/com_call.h"
#include "runtime/convert.h"

namespace zv::com {

BSTR toBstr(StringView text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                           static_cast<UINT>(text.size()));
}

String fromBstr(BSTR b) {
  if (!b) return String();
  return String(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
}

namespace {

VarType elementKind(VARTYPE vt) {
  switch (vt) {
    case VT_I2:
      return VarType::Integer;
    case VT_I4:
      return VarType::Long;
    case VT_R4:
      return VarType::Single;
    case VT_R8:
      return VarType::Double;
    case VT_CY:
      return VarType::Currency;
    case VT_DATE:
      return VarType::Date;
    case VT_BSTR:
      return VarType::String;
    case VT_DISPATCH:
      return VarType::Object;
    case VT_BOOL:
      return VarType::Boolean;
    case VT_UI1:
      return VarType::Byte;
    default:
      return VarType::Variant;
  }
}

Variant fromSafeArray(SAFEARRAY* sa, VARTYPE vt) {
  if (!sa) return Variant(SafeArray{elementKind(vt), {{0, 0}}, {}});
  SafeArray out;
  out.elementType = elementKind(vt);
  const UINT dims = SafeArrayGetDim(sa);
  size_t total = 1;
  for (UINT d = 1; d <= dims; ++d) {
    LONG lo = 0, hi = -1;
    SafeArrayGetLBound(sa, d, &lo);
    SafeArrayGetUBound(sa, d, &hi);
    out.bounds.push_back({lo, hi - lo + 1});
    total *= static_cast<size_t>(std::max<LONG>(0, hi - lo + 1));
  }
  void* data = nullptr;
  if (total && SUCCEEDED(SafeArrayAccessData(sa, &data))) {
    const UINT size = SafeArrayGetElemsize(sa);
    for (size_t i = 0; i < total; ++i) {
      VARIANT item;
      VariantInit(&item);
      char* at = static_cast<char*>(data) + i * size;
      if (vt == VT_VARIANT) {
        out.items.push_back(fromVariant(*reinterpret_cast<VARIANT*>(at)));
        continue;
      }
      V_VT(&item) = vt | VT_BYREF;
      V_BYREF(&item) = at;
      out.items.push_back(fromVariant(item));
    }
    SafeArrayUnaccessData(sa);
  }
  return Variant(std::move(out));
}

SAFEARRAY* toSafeArray(const SafeArray& a, VARTYPE vt) {
  std::vector<SAFEARRAYBOUND> bounds;
  for (const ArrayBound& b : a.bounds)
    bounds.push_back({static_cast<ULONG>(std::max(0, b.count)), b.lower});
  if (bounds.empty()) bounds.push_back({0, 0});
  SAFEARRAY* sa = SafeArrayCreate(vt, static_cast<UINT>(bounds.size()), bounds.data());
  if (!sa) raise(err::kOutOfMemory);
  void* data = nullptr;
  if (!a.items.empty() && SUCCEEDED(SafeArrayAccessData(sa, &data))) {
    const UINT size = SafeArrayGetElemsize(sa);
    for (size_t i = 0; i < a.items.size(); ++i) {
      char* at = static_cast<char*>(data) + i * size;
      VARIANT item;
      toVariant(a.items[i], &item);
      if (vt == VT_VARIANT) {
        *reinterpret_cast<VARIANT*>(at) = item;
        continue;
      }
      VARIANT typed;
      VariantInit(&typed);
      const HRESULT hr = VariantChangeType(&typed, &item, 0, vt);
      VariantClear(&item);
      if (FAILED(hr)) {
        // An element that does not convert fails the whole array, as on the native face.
        SafeArrayUnaccessData(sa);
        SafeArrayDestroy(sa);
        raise(hr == DISP_E_OVERFLOW ? err::kOverflow : err::kTypeMismatch);
      }
      std::memcpy(at, &V_NONE(&typed), size);  // ownership moves into the array
    }
    SafeArrayUnaccessData(sa);
  }
  return sa;
}

// The caller's record as a library Record, field by field.
Variant fromRecord(IRecordInfo* info, void* data) {
  if (!info || !data) raise(err::kTypeMismatch);
  struct Names {
    std::vector<BSTR> list;
    ~Names() {
      for (BSTR b : list)
        SysFreeString(b);
    }
  } names;
  ULONG count = 0;
  if (FAILED(info->GetFieldNames(&count, nullptr))) raise(err::kTypeMismatch);
  names.list.assign(count, nullptr);
  BSTR typeName = nullptr;
  if (FAILED(info->GetFieldNames(&count, names.list.data())) || FAILED(info->GetName(&typeName)))
    raise(err::kTypeMismatch);
  Record record{fromBstr(typeName), {}};
  SysFreeString(typeName);
  for (BSTR name : names.list) {
    VARIANT field;
    VariantInit(&field);
    if (FAILED(info->GetField(data, name, &field))) raise(err::kTypeMismatch);
    Variant value;
    try {
      value = fromVariant(field);
    } catch (...) {
      VariantClear(&field);
      throw;
    }
    VariantClear(&field);
    record.fields.emplace_back(fromBstr(name), std::move(value));
  }
  return Variant(std::move(record));
}

void storeRecord(const Variant& value, IRecordInfo* info, void* data) {
  if (!info || !data || value.type() != VarType::Record) return;
  for (const auto& [name, field] : value.recordValue().fields) {
    VARIANT v;
    toVariant(field, &v);
    BSTR b = toBstr(name);
    const HRESULT hr = info->PutField(INVOKE_PROPERTYPUT, data, b, &v);
    SysFreeString(b);
    VariantClear(&v);
    if (FAILED(hr)) raise(err::kTypeMismatch);
  }
}

// `v` as a value of library kind `t` by the library's own conversions (Empty is Nothing for
// an object); Variant and record kinds take it as it is.
Variant convertTo(Variant v, VarType t) {
  if (v.type() == t) return v;
  switch (t) {
    case VarType::String:
      return Variant(toString(v));
    case VarType::Boolean:
      return Variant(toBoolean(v));
    case VarType::Byte:
      return Variant(toByte(v));
    case VarType::Integer:
      return Variant(toInteger(v));
    case VarType::Long:
      return Variant(toLong(v));
    case VarType::Single:
      return Variant(toSingle(v));
    case VarType::Double:
      return Variant(toDouble(v));
    case VarType::Currency:
      return Variant(toCurrency(v));
    case VarType::Date:
      return Variant(toDate(v));
    case VarType::Object:
      return v.isEmpty() ? Variant::nothing() : Variant(toObject(v));
    default:
      return v;
  }
}

// The bytes a VT_BYREF argument of a plain `kind` points to.
size_t valueSize(VARTYPE kind) {
  switch (kind) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
      return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
      return 8;
    default:
      raise(err::kTypeMismatch);
  }
}

// Replaces the value a VT_BYREF argument of a plain `kind` points to with `value`.
void storeTyped(const Variant& value, VARTYPE kind, void* at) {
  VARIANT typed;
  toVariant(convertTo(value, elementKind(kind)), &typed);
  if (V_VT(&typed) != kind) {
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT hr = VariantChangeType(&converted, &typed, 0, kind);
    VariantClear(&typed);
    if (FAILED(hr)) raise(hr == DISP_E_OVERFLOW ? err::kOverflow : err::kTypeMismatch);
    typed = converted;
  }
  switch (kind) {
    case VT_BSTR:
      SysFreeString(*static_cast<BSTR*>(at));
      *static_cast<BSTR*>(at) = V_BSTR(&typed);
      return;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      if (*static_cast<IUnknown**>(at)) (*static_cast<IUnknown**>(at))->Release();
      *static_cast<IUnknown**>(at) = V_UNKNOWN(&typed);
      return;
    case VT_DECIMAL:
      *static_cast<DECIMAL*>(at) = V_DECIMAL(&typed);
      static_cast<DECIMAL*>(at)->wReserved = 0;
      return;
    default:
      std::memcpy(at, &V_UI1(&typed), valueSize(kind));
  }
}

}  // namespace

VARTYPE comKind(VarType t) {
  switch (t) {
    case VarType::Integer:
      return VT_I2;
    case VarType::Long:
      return VT_I4;
    case VarType::Single:
      return VT_R4;
    case VarType::Double:
      return VT_R8;
    case VarType::Currency:
      return VT_CY;
    case VarType::Date:
      return VT_DATE;
    case VarType::String:
      return VT_BSTR;
    case VarType::Object:
      return VT_DISPATCH;
    case VarType::Boolean:
      return VT_BOOL;
    case VarType::Byte:
      return VT_UI1;
    default:
      return VT_VARIANT;
  }
}

Variant toParameter(Variant value, const ParamInfo& param) {
  return convertTo(std::move(value), param.type);
}

void storeVariant(const Variant& value, VARIANTARG* target) {
  const VARTYPE vt = V_VT(target);
  if (vt == (VT_BYREF | VT_VARIANT)) {
    VARIANT* variable = V_VARIANTREF(target);
    if (!variable) return;
    if (V_VT(variable) & VT_BYREF) return storeVariant(value, variable);
    VARIANT fresh;
    const VARTYPE held = V_VT(variable);
    if (value.isArray() && (held & VT_ARRAY)) {
      VariantInit(&fresh);
      V_ARRAY(&fresh) = toSafeArray(value.arrayValue(), held & VT_TYPEMASK);
      V_VT(&fresh) = held;
    } else {
      toVariant(value, &fresh);
    }
    VariantClear(variable);
    *variable = fresh;
    return;
  }
  if ((vt & ~VT_BYREF) == VT_RECORD)
    return storeRecord(value, V_RECORDINFO(target), V_RECORD(target));
  if (!(vt & VT_BYREF)) return;
  const VARTYPE kind = vt & ~VT_BYREF;
  if (kind & VT_ARRAY) {
    if (!value.isArray()) return;
    SAFEARRAY* fresh = toSafeArray(value.arrayValue(), kind & VT_TYPEMASK);
    if (*V_ARRAYREF(target)) SafeArrayDestroy(*V_ARRAYREF(target));
    *V_ARRAYREF(target) = fresh;
    return;
  }
  storeTyped(value, kind, V_BYREF(target));
}

ObjectRef fromDispatch(IDispatch* d) {
  if (!d) return nullptr;
  IZvObject* own = nullptr;
  if (SUCCEEDED(d->QueryInterface(kIID_ZvObject, reinterpret_cast<void**>(&own))) && own) {
    ObjectRef obj = own->zvObject();
    own->Release();
    return obj;
  }
  return std::make_shared<CallerObject>(d);
}

Variant fromVariant(const VARIANT& v) {
  const VARTYPE vt = V_VT(&v);
  if (vt == (VT_BYREF | VT_VARIANT))
    return V_VARIANTREF(&v) ? fromVariant(*V_VARIANTREF(&v)) : Variant();
  if ((vt & ~VT_BYREF) == VT_RECORD) return fromRecord(V_RECORDINFO(&v), V_RECORD(&v));
  if (vt & VT_ARRAY) {
    SAFEARRAY* sa = (vt & VT_BYREF) ? (V_ARRAYREF(&v) ? *V_ARRAYREF(&v) : nullptr) : V_ARRAY(&v);
    return fromSafeArray(sa, vt & VT_TYPEMASK);
  }
  if (vt & VT_BYREF) {
    // Read the referenced value through a by-value copy of its kind.
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantCopyInd(&copy, const_cast<VARIANT*>(&v)))) raise(err::kTypeMismatch);
    Variant out = fromVariant(copy);
    VariantClear(&copy);
    return out;
  }
  switch (vt) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Variant::null();
    case VT_I2:
      return Variant(static_cast<int16_t>(V_I2(&v)));
    case VT_I4:
      return Variant(static_cast<int32_t>(V_I4(&v)));
    case VT_INT:
      return Variant(static_cast<int32_t>(V_INT(&v)));
    case VT_UI1:
      return Variant(static_cast<uint8_t>(V_UI1(&v)));
    case VT_R4:
      return Variant(V_R4(&v));
    case VT_R8:
      return Variant(V_R8(&v));
    case VT_CY:
      return Variant(Currency{V_CY(&v).int64});
    case VT_DATE:
      return Variant(Date{V_DATE(&v)});
    case VT_BSTR:
      return Variant(fromBstr(V_BSTR(&v)));
    case VT_BOOL:
      return Variant(V_BOOL(&v) != VARIANT_FALSE);
    case VT_ERROR:
      return Variant::error(V_ERROR(&v));
    case VT_DISPATCH:
      return Variant(fromDispatch(V_DISPATCH(&v)));
    case VT_UNKNOWN: {
      if (!V_UNKNOWN(&v)) return Variant::nothing();
      IDispatch* d = nullptr;
      if (FAILED(V_UNKNOWN(&v)->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d))))
        raise(err::kTypeMismatch);
      ObjectRef obj = fromDispatch(d);
      d->Release();
      return Variant(obj);
    }
    case VT_I1:
    case VT_UI2:
    case VT_UI4:
    case VT_UINT:
    case VT_I8:
    case VT_UI8:
    case VT_DECIMAL: {
      // Kinds VB has no type for: a Long when they fit, else a Double.
      VARIANT conv;
      VariantInit(&conv);
      if (SUCCEEDED(VariantChangeType(&conv, const_cast<VARIANT*>(&v), 0, VT_I4)))
        return Variant(static_cast<int32_t>(V_I4(&conv)));
      if (SUCCEEDED(VariantChangeType(&conv, const_cast<VARIANT*>(&v), 0, VT_R8)))
        return Variant(V_R8(&conv));
      raise(err::kOverflow);
    }
    default:
      raise(err::kTypeMismatch);
  }
}

void toVariant(const Variant& value, VARIANT* out) {
  VariantInit(out);
  switch (value.type()) {
    case VarType::Empty:
      return;
    case VarType::Null:
      V_VT(out) = VT_NULL;
      return;
    case VarType::Integer:
      V_VT(out) = VT_I2;
      V_I2(out) = value.integerValue();
      return;
    case VarType::Long:
      V_VT(out) = VT_I4;
      V_I4(out) = value.longValue();
      return;
    case VarType::Byte:
      V_VT(out) = VT_UI1;
      V_UI1(out) = value.byteValue();
      return;
    case VarType::Single:
      V_VT(out) = VT_R4;
      V_R4(out) = value.singleValue();
      return;
    case VarType::Double:
      V_VT(out) = VT_R8;
      V_R8(out) = value.doubleValue();
      return;
    case VarType::Currency:
      V_VT(out) = VT_CY;
      V_CY(out).int64 = value.currencyValue().units;
      return;
    case VarType::Date:
      V_VT(out) = VT_DATE;
      V_DATE(out) = value.dateValue().days;
      return;
    case VarType::String:
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = toBstr(value.stringValue());
      return;
    case VarType::Boolean:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = value.booleanValue() ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case VarType::Error:
      V_VT(out) = VT_ERROR;
      V_ERROR(out) = value.errorValue();
      return;
    case VarType::Object:
      V_VT(out) = VT_DISPATCH;
      V_DISPATCH(out) = toDispatch(value.objectValue());
      return;
    default:
      break;
  }
  if (value.isArray()) {
    const SafeArray& a = value.arrayValue();
    const VARTYPE vt = comKind(a.elementType);
    V_ARRAY(out) = toSafeArray(a, vt);
    V_VT(out) = VT_ARRAY | vt;
    return;
  }
  // Records do not travel in a VARIANT here.
  raise(err::kTypeMismatch);
}

// ---------------------------------------------------------------------------- errors

HRESULT errorHresult(const Error& e) {
  const int32_t n = e.number();
  if (n < 0) return static_cast<HRESULT>(n);  // an HRESULT passed through as it is
  if (n == 0 || n > 0xFFFF) return E_FAIL;
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, n);
}

namespace {
String descriptionOf(const Error& e) {
  return e.description().empty() ? standardDescription(e.number()) : e.description();
}
}  // namespace

HRESULT reportError(const Error& e, const IID& iid) {
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetGUID(iid);
    const String description = descriptionOf(e);
    create->SetDescription(
        const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(description.c_str())));
    create->SetSource(const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(e.source().c_str())));
    create->SetHelpFile(
        const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(e.helpFile().c_str())));
    create->SetHelpContext(static_cast<DWORD>(e.helpContext()));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return errorHresult(e);
}

void fillExcepInfo(const Error& e, EXCEPINFO* ei) {
  if (!ei) return;
  std::memset(ei, 0, sizeof *ei);
  ei->bstrDescription = toBstr(descriptionOf(e));
  ei->bstrSource = toBstr(e.source());
  if (!e.helpFile().empty()) ei->bstrHelpFile = toBstr(e.helpFile());
  ei->dwHelpContext = static_cast<DWORD>(e.helpContext());
  ei->scode = errorHresult(e);
}

void raiseFromHresult(HRESULT hr, EXCEPINFO* ei) {
  int32_t number = 0;
  String description, source;
  if (hr == DISP_E_EXCEPTION && ei) {
    if (ei->pfnDeferredFillIn) ei->pfnDeferredFillIn(ei);
    description = fromBstr(ei->bstrDescription);
    source = fromBstr(ei->bstrSource);
    const HRESULT scode = ei->scode ? ei->scode : MAKE_HRESULT(1, FACILITY_CONTROL, ei->wCode);
    SysFreeString(ei->bstrDescription);
    SysFreeString(ei->bstrSource);
    SysFreeString(ei->bstrHelpFile);
    hr = scode;
  }
  switch (hr) {
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
      number = err::kNotSupported;
      break;
    case DISP_E_TYPEMISMATCH:
      number = err::kTypeMismatch;
      break;
    case DISP_E_BADPARAMCOUNT:
      number = err::kWrongArgCount;
      break;
    case DISP_E_PARAMNOTOPTIONAL:
      number = err::kArgNotOptional;
      break;
    case DISP_E_OVERFLOW:
      number = err::kOverflow;
      break;
    case DISP_E_BADINDEX:
      number = err::kSubscriptOutOfRange;
      break;
    case DISP_E_DIVBYZERO:
      number = err::kDivisionByZero;
      break;
    case E_OUTOFMEMORY:
      number = err::kOutOfMemory;
      break;
    default:
      number =
          HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<int32_t>(hr);
  }
  throw Error(number, description.empty() ? standardDescription(number) : description, source);
}

// ---------------------------------------------------------------------------- ComCall values

Variant ComCall::value_String(BSTR v) {
  return Variant(fromBstr(v));
}
void ComCall::out_String(const Variant& v, BSTR* p) {
  *p = toBstr(coerce<String>(v));
}
void ComCall::store_String(const Variant& v, BSTR* p) {
  BSTR fresh = toBstr(coerce<String>(v));
  SysFreeString(*p);
  *p = fresh;
}

Variant ComCall::value_Boolean(VARIANT_BOOL v) {
  return Variant(v != VARIANT_FALSE);
}
void ComCall::out_Boolean(const Variant& v, VARIANT_BOOL* p) {
  *p = coerce<bool>(v) ? VARIANT_TRUE : VARIANT_FALSE;
}
void ComCall::store_Boolean(const Variant& v, VARIANT_BOOL* p) {
  out_Boolean(v, p);
}

#define ZV_PLAIN(Kind, T, Cpp, wrap, unwrap)           \
  Variant ComCall::value_##Kind(T v) {                 \
    return Variant(wrap);                              \
  }                                                    \
  void ComCall::out_##Kind(const Variant& v, T* p) {   \
    *p = unwrap(coerce<Cpp>(v));                       \
  }                                                    \
  void ComCall::store_##Kind(const Variant& v, T* p) { \
    out_##Kind(v, p);                                  \
  }
ZV_PLAIN(Byte, BYTE, uint8_t, static_cast<uint8_t>(v), )
ZV_PLAIN(Integer, SHORT, int16_t, static_cast<int16_t>(v), )
ZV_PLAIN(Long, LONG, int32_t, static_cast<int32_t>(v), )
ZV_PLAIN(Single, FLOAT, float, v, )
ZV_PLAIN(Double, DOUBLE, double, v, )
ZV_PLAIN(Date, DATE, Date, Date{v}, [](Date d) { return d.days; })
#undef ZV_PLAIN

Variant ComCall::value_Currency(CY v) {
  return Variant(Currency{v.int64});
}
void ComCall::out_Currency(const Variant& v, CY* p) {
  p->int64 = coerce<Currency>(v).units;
}
void ComCall::store_Currency(const Variant& v, CY* p) {
  out_Currency(v, p);
}

Variant ComCall::value_Object(IDispatch* v) {
  return Variant(fromDispatch(v));
}
void ComCall::out_Object(const Variant& v, IDispatch** p) {
  *p = toDispatch(v.isEmpty() ? nullptr : toObject(v));
}
void ComCall::store_Object(const Variant& v, IDispatch** p) {
  IDispatch* fresh = toDispatch(v.isEmpty() ? nullptr : toObject(v));
  if (*p) (*p)->Release();
  *p = fresh;
}

Variant ComCall::value_Array(SAFEARRAY* v) {
  VARTYPE vt = VT_VARIANT;
  if (v) SafeArrayGetVartype(v, &vt);
  return fromSafeArray(v, vt);
}
void ComCall::out_Array(const Variant& v, SAFEARRAY** p) {
  *p = v.isArray() ? toSafeArray(v.arrayValue(), comKind(v.arrayValue().elementType)) : nullptr;
}
void ComCall::store_Array(const Variant& v, SAFEARRAY** p) {
  if (!v.isArray()) return;
  // The caller's array keeps its element type.
  VARTYPE vt = comKind(v.arrayValue().elementType);
  if (*p) SafeArrayGetVartype(*p, &vt);
  SAFEARRAY* fresh = toSafeArray(v.arrayValue(), vt);
  if (*p) SafeArrayDestroy(*p);
  *p = fresh;
}

void ComCall::store_Variant(const Variant& v, VARIANT* p) {
  VARIANTARG ref;
  V_VT(&ref) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&ref) = p;
  storeVariant(v, &ref);
}

}  // namespace zv::com
