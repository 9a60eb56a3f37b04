#include "management.h"

#include "runtime/text.h"

namespace zv::platform {

std::optional<String> ManagedObject::get(const String& name) const {
  for (const auto& [property, value] : properties_)
    if (equalsNoCase(property, name)) return value;
  return std::nullopt;
}

}  // namespace zv::platform
