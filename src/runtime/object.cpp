#include "object.h"

#include "errors.h"

namespace zv {

std::vector<Variant> Object::enumerate() { raise(err::kNotSupported); }

namespace {
Object& target(const ObjectRef& obj) {
  if (!obj) raise(err::kObjectNotSet);
  return *obj;
}
}  // namespace

Variant call(const ObjectRef& obj, StringView name, Args args) {
  return target(obj).invoke(name, kMethod | kPropertyGet, args);
}

Variant get(const ObjectRef& obj, StringView name, Args args) {
  return target(obj).invoke(name, kPropertyGet | kMethod, args);
}

void put(const ObjectRef& obj, StringView name, Variant value, Args index) {
  index.emplace_back(std::move(value));
  target(obj).invoke(name, kPropertyPut, index);
}

void putRef(const ObjectRef& obj, StringView name, ObjectRef value) {
  Args args;
  args.emplace_back(Variant(std::move(value)));
  target(obj).invoke(name, kPropertyPutRef, args);
}

ObjectRef requireObject(const Variant& v) {
  if (!v.isObject()) raise(err::kObjectRequired);
  if (!v.objectValue()) raise(err::kObjectNotSet);
  return v.objectValue();
}

}  // namespace zv
