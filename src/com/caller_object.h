// The caller's objects (VBScript class instances, controls, collections) as library
// objects: members are reached by name through IDispatchEx or IDispatch.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <map>

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

 private:
  DISPID dispId(StringView name);
  Variant invokeId(DISPID id, WORD flags, Args& args);

  IDispatch* dispatch_;
  IDispatchEx* dispatchEx_ = nullptr;
  std::map<String, DISPID> ids_;  // lower-case name -> DISPID
};

}  // namespace zv::com
