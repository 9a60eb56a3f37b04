// Variant: a value of any Automation kind, or an array of them.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <variant>
#include <vector>

#include "types.h"

namespace zv {

class Object;
using ObjectRef = std::shared_ptr<Object>;
class Variant;

// The kinds a Variant holds, numbered as VarType numbers them.
enum class VarType : uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Variant = 12,
  Byte = 17,
  Record = 36,
  Array = 0x2000,
};

// A value that deep-copies the object it owns (arrays and records have value semantics).
template <class T>
class Boxed {
 public:
  explicit Boxed(T value) : p_(std::make_unique<T>(std::move(value))) {}
  Boxed(const Boxed& other) : p_(std::make_unique<T>(*other.p_)) {}
  Boxed(Boxed&&) noexcept = default;
  Boxed& operator=(const Boxed& other) {
    p_ = std::make_unique<T>(*other.p_);
    return *this;
  }
  Boxed& operator=(Boxed&&) noexcept = default;
  T& operator*() const { return *p_; }
  T* operator->() const { return p_.get(); }

 private:
  std::unique_ptr<T> p_;
};

struct ArrayBound {
  int32_t lower = 0;
  int32_t count = 0;
  int32_t upper() const { return lower + count - 1; }
};

// A SAFEARRAY: elements of one declared type (Variant for mixed arrays), row-major by first
// dimension fastest as Automation stores them.
struct SafeArray {
  VarType elementType = VarType::Variant;
  std::vector<ArrayBound> bounds;
  std::vector<Variant> items;

  static SafeArray vector(VarType elementType, int32_t lower, std::vector<Variant> items);
  int32_t lbound(int dimension = 1) const;
  int32_t ubound(int dimension = 1) const;
  // The element at `index` of a one-dimensional array; error 9 outside the bounds.
  Variant& at(int32_t index);
  const Variant& at(int32_t index) const;
};

// A user-defined record (the library's WindowsRegistryInfo): named fields in order.
struct Record {
  String typeName;
  std::vector<std::pair<String, Variant>> fields;
  Variant& field(const String& name);
};

class Variant {
 public:
  Variant() = default;
  Variant(int16_t v) : v_(v) {}
  Variant(int32_t v) : v_(v) {}
  Variant(uint8_t v) : v_(v) {}
  Variant(float v) : v_(v) {}
  Variant(double v) : v_(v) {}
  Variant(Currency v) : v_(v) {}
  Variant(Date v) : v_(v) {}
  Variant(String v) : v_(std::move(v)) {}
  Variant(const char16_t* v) : v_(String(v)) {}
  Variant(bool v) : v_(BooleanValue{v}) {}
  Variant(ObjectRef v) : v_(std::move(v)) {}
  Variant(SafeArray v) : v_(Boxed<SafeArray>(std::move(v))) {}
  Variant(Record v) : v_(Boxed<Record>(std::move(v))) {}
  // A 64-bit integer or a narrow string would pick a surprising kind: say which you mean.
  Variant(int64_t) = delete;
  Variant(const char*) = delete;

  static Variant null() { return Variant(NullValue{}); }
  static Variant error(int32_t scode) { return Variant(ErrorValue{scode}); }
  // The value an optional parameter has when the caller left it out.
  static Variant missing() { return error(kParamNotFound); }
  static Variant nothing() { return Variant(ObjectRef()); }

  VarType type() const;
  bool isEmpty() const { return v_.index() == 0; }
  bool isNull() const { return std::holds_alternative<NullValue>(v_); }
  bool isMissing() const;
  bool isObject() const { return std::holds_alternative<ObjectRef>(v_); }
  bool isArray() const { return std::holds_alternative<Boxed<SafeArray>>(v_); }
  bool isString() const { return std::holds_alternative<String>(v_); }
  bool isNumeric() const;

  // Raw access to the held kind; the caller has checked type().
  int16_t integerValue() const { return std::get<int16_t>(v_); }
  int32_t longValue() const { return std::get<int32_t>(v_); }
  uint8_t byteValue() const { return std::get<uint8_t>(v_); }
  float singleValue() const { return std::get<float>(v_); }
  double doubleValue() const { return std::get<double>(v_); }
  Currency currencyValue() const { return std::get<Currency>(v_); }
  Date dateValue() const { return std::get<Date>(v_); }
  const String& stringValue() const { return std::get<String>(v_); }
  String& stringValue() { return std::get<String>(v_); }
  bool booleanValue() const { return std::get<BooleanValue>(v_).value; }
  const ObjectRef& objectValue() const { return std::get<ObjectRef>(v_); }
  int32_t errorValue() const { return std::get<ErrorValue>(v_).scode; }
  SafeArray& arrayValue() const { return *std::get<Boxed<SafeArray>>(v_); }
  Record& recordValue() const { return *std::get<Boxed<Record>>(v_); }

 private:
  struct NullValue {};
  struct BooleanValue {
    bool value;
  };
  struct ErrorValue {
    int32_t scode;
  };
  explicit Variant(NullValue v) : v_(v) {}
  explicit Variant(ErrorValue v) : v_(v) {}

  std::variant<std::monostate, NullValue, int16_t, int32_t, uint8_t, float, double, Currency, Date,
               String, BooleanValue, ObjectRef, ErrorValue, Boxed<SafeArray>, Boxed<Record>>
      v_;
};

// VarType(v): the kind, with the Array flag added to the element kind for arrays.
int32_t varTypeNumber(const Variant& v);
String typeName(const Variant& v);

}  // namespace zv
