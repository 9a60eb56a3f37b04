#include "binding.h"

#include <algorithm>

#include "errors.h"

namespace zv {

Binding::Binding(const MemberInfo& member, Args& args) {
  const auto& params = member.params;
  if (args.size() > params.size()) raise(err::kWrongArgCount);
  slots_.assign(params.size(), nullptr);
  // Put arguments arrive with the new value last; it binds to the last parameter.
  const bool isPut =
      member.kind == MemberKind::PropertyLet || member.kind == MemberKind::PropertySet;
  size_t position = 0;
  for (size_t a = 0; a < args.size(); ++a) {
    Arg& arg = args[a];
    size_t target = position;
    if (!arg.name().empty()) {
      target = params.size();
      for (size_t p = 0; p < params.size(); ++p)
        if (equalsNoCase(params[p].name, arg.name())) target = p;
      if (target == params.size()) raise(err::kNamedArgNotFound);
    } else {
      if (isPut && a + 1 == args.size()) target = params.size() - 1;
      ++position;
    }
    if (target >= params.size() || slots_[target]) raise(err::kWrongArgCount);
    // A Missing argument is a left-out one, as when VBScript passes an empty slot.
    if (!arg.value().isMissing()) slots_[target] = &arg.value();
  }
  // Reserved once, so the slots may point into it; most calls need none.
  const size_t leftOut = static_cast<size_t>(std::count(slots_.begin(), slots_.end(), nullptr));
  if (leftOut) defaults_.reserve(leftOut);
  for (size_t p = 0; p < params.size(); ++p) {
    if (slots_[p]) continue;
    if (!params[p].optional) raise(err::kArgNotOptional);
    defaults_.push_back(params[p].defaultValue ? *params[p].defaultValue : Variant::missing());
    slots_[p] = &defaults_.back();
  }
}

}  // namespace zv
