#include "variant.h"

#include "errors.h"
#include "object.h"
#include "text.h"

namespace zv {

SafeArray SafeArray::vector(VarType elementType, int32_t lower, std::vector<Variant> items) {
  SafeArray a;
  a.elementType = elementType;
  a.bounds.push_back({lower, static_cast<int32_t>(items.size())});
  a.items = std::move(items);
  return a;
}

int32_t SafeArray::lbound(int dimension) const {
  if (dimension < 1 || static_cast<size_t>(dimension) > bounds.size())
    raise(err::kSubscriptOutOfRange);
  return bounds[dimension - 1].lower;
}

int32_t SafeArray::ubound(int dimension) const {
  if (dimension < 1 || static_cast<size_t>(dimension) > bounds.size())
    raise(err::kSubscriptOutOfRange);
  return bounds[dimension - 1].upper();
}

Variant& SafeArray::at(int32_t index) {
  if (bounds.size() != 1 || index < bounds[0].lower || index > bounds[0].upper())
    raise(err::kSubscriptOutOfRange);
  return items[static_cast<size_t>(index - bounds[0].lower)];
}

const Variant& SafeArray::at(int32_t index) const { return const_cast<SafeArray*>(this)->at(index); }

Variant& Record::field(const String& name) {
  for (auto& [fieldName, value] : fields)
    if (equalsNoCase(fieldName, name)) return value;
  raise(err::kNotSupported);
}

VarType Variant::type() const {
  static constexpr VarType kinds[] = {
      VarType::Empty,  VarType::Null,     VarType::Integer, VarType::Long,   VarType::Byte,
      VarType::Single, VarType::Double,   VarType::Currency, VarType::Date,  VarType::String,
      VarType::Boolean, VarType::Object,  VarType::Error,   VarType::Array,  VarType::Record};
  return kinds[v_.index()];
}

bool Variant::isMissing() const {
  return std::holds_alternative<ErrorValue>(v_) && errorValue() == kParamNotFound;
}

bool Variant::isNumeric() const {
  switch (type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
      return true;
    default:
      return false;
  }
}

int32_t varTypeNumber(const Variant& v) {
  if (v.isArray()) return 0x2000 | static_cast<int32_t>(v.arrayValue().elementType);
  return static_cast<int32_t>(v.type());
}

String typeName(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return u"Empty";
    case VarType::Null: return u"Null";
    case VarType::Integer: return u"Integer";
    case VarType::Long: return u"Long";
    case VarType::Byte: return u"Byte";
    case VarType::Single: return u"Single";
    case VarType::Double: return u"Double";
    case VarType::Currency: return u"Currency";
    case VarType::Date: return u"Date";
    case VarType::String: return u"String";
    case VarType::Boolean: return u"Boolean";
    case VarType::Object: return v.objectValue() ? v.objectValue()->typeName() : u"Nothing";
    case VarType::Error: return u"Error";
    case VarType::Record: return v.recordValue().typeName;
    case VarType::Array: return u"Variant()";
    default: return u"Unknown";
  }
}

}  // namespace zv
