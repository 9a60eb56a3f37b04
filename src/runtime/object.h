// The late-bound object interface: get, put and call a member by name.
//
// Callers reach the library's classes through it, and the library reaches the caller's
// objects (list boxes, text boxes, list-views, collections, ...) only through it, so any
// object that offers the members serves.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "text.h"
#include "variant.h"

namespace zv {

// What a call asks of a member; VBScript's `obj.Name` asks Method | PropertyGet at once.
enum InvokeKind : unsigned {
  kMethod = 1,
  kPropertyGet = 2,
  kPropertyPut = 4,
  kPropertyPutRef = 8,
};

// One argument of a late-bound call: a value of its own, or a reference to the caller's
// variable (by-reference parameters write through it). Named arguments carry their name.
class Arg {
 public:
  Arg(Variant value) : own_(std::move(value)) {}
  static Arg ref(Variant& target) {
    Arg a;
    a.target_ = &target;
    return a;
  }
  Arg&& named(String name) && {
    name_ = std::move(name);
    return std::move(*this);
  }

  Variant& value() { return target_ ? *target_ : own_; }
  const Variant& value() const { return target_ ? *target_ : own_; }
  bool isRef() const { return target_ != nullptr; }
  const String& name() const { return name_; }

 private:
  Arg() = default;
  Variant own_;
  Variant* target_ = nullptr;
  String name_;
};

using Args = std::vector<Arg>;

struct TypeInfo;

class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;

  // Invokes member `name` (case-insensitive). Fails with error 438 for an unknown member.
  virtual Variant invoke(StringView name, unsigned kinds, Args& args) = 0;

  // The class or model name, as TypeName() shows it.
  virtual String typeName() const = 0;

  // The member description, when the object has one (the library's classes and models).
  virtual const TypeInfo* typeInfo() const { return nullptr; }

  // For Each support: the items the object enumerates; error 438 when it enumerates none.
  virtual std::vector<Variant> enumerate();
};

// The convenience layer every class uses on the caller's objects.
Variant call(const ObjectRef& obj, StringView name, Args args = {});
Variant get(const ObjectRef& obj, StringView name, Args args = {});
void put(const ObjectRef& obj, StringView name, Variant value, Args index = {});
void putRef(const ObjectRef& obj, StringView name, ObjectRef value);

// The object held by `v`: error 424 when `v` holds no object, error 91 when it is Nothing.
ObjectRef requireObject(const Variant& v);

}  // namespace zv
