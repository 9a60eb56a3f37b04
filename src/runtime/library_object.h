// The base of every class and model of the library: late-bound calls go through the
// generated member table to the typed C++ methods.
#pragma once

#include "binding.h"
#include "object.h"
#include "typeinfo.h"

namespace zv {

class LibraryObject : public Object {
 public:
  Variant invoke(StringView name, unsigned kinds, Args& args) final;
  // Invokes `member`, an entry of this object's own member table, without looking it up by
  // name: hosts that resolved the member already (the COM vtables) call it by index.
  Variant invokeMember(const MemberInfo& member, Args& args);
  String typeName() const override { return typeInfo()->name; }
  const TypeInfo* typeInfo() const override = 0;

 protected:
  // Calls the typed method for `member` with the bound arguments (generated).
  virtual Variant dispatch(const MemberInfo& member, Binding& args) = 0;
  // The source name errors raised inside the object's methods carry (a constant).
  virtual StringView errorSource() const = 0;
};

// The failure of a method whose behaviour this version does not have yet.
[[noreturn]] void notBuilt(StringView className, StringView memberName);

}  // namespace zv
