// Command-line arguments converted to a member's parameter types, and values shown back.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "runtime/object.h"
#include "runtime/typeinfo.h"

namespace zvv {

class CallArguments {
 public:
  // Each text is a value or name:=value; values are read by the parameter's type, numbers
  // in the invariant form (a point as decimal separator), dates as yyyy-mm-dd[ hh:mm:ss].
  CallArguments(const zv::MemberInfo& member, const std::vector<std::string>& texts);

  zv::Args& args() { return args_; }
  // The by-reference parameters the caller gave, with their values after the call.
  std::vector<std::pair<zv::String, zv::Variant>> byReference() const;

 private:
  std::vector<zv::Variant> values_;  // the caller's variables, stable for Arg::ref
  std::vector<const zv::ParamInfo*> params_;
  zv::Args args_;
};

// The value as the command line prints it (CStr, with arrays and objects spelled out).
zv::String display(const zv::Variant& value);

}  // namespace zvv
