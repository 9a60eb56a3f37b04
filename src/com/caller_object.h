// The caller's objects (VBScript class instances, controls, collections) as library
// objects: members are reached by name through IDispatchEx or IDispatch.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <unordered_map>

#include "runtime/object.h"

struct IDispatchEx;

namespace zv::com {

class CallerObject final : public Object {
 public:
  explicit CallerObject(IDispatch* dispatch);
  ~CallerObject() override;
  CallerObject(const CallerObject&) = delete;
  CallerObject& operator=(const CallerObject&) = delete;

  Variant invoke(StringView name, unsigned kinds, Args& args) override;
  String typeName() const override;
  std::vector<Variant> enumerate() override;

  IDispatch* dispatch() const { return dispatch_; }

  // Lower-case member name (and "member\x01argument" for named arguments) -> DISPID.
  using IdMap = std::unordered_map<String, DISPID>;

 private:
  // The ids known for this object: its type's, shared by every object of that type, when
  // it has type information; else its own.
  IdMap& ids();
  DISPID dispId(StringView name);
  DISPID argumentId(StringView member, StringView argument);
  Variant invokeId(StringView name, DISPID id, WORD flags, Args& args);

  IDispatch* dispatch_;
  IDispatchEx* dispatchEx_ = nullptr;
  IdMap* ids_ = nullptr;
  IdMap ownIds_;
};

}  // namespace zv::com
