// The management service's queries ("Select * from Win32_..."), as the system report asks
// them: Windows answers through WMI; POSIX answers the same classes from /proc, /sys,
// uname, the account database and the network interfaces.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "runtime/types.h"

namespace zv::platform {

// One object a query returned: its properties as text. A property the object has with no
// value (Null) is ""; one it lacks, or whose value is no single value, is absent.
class ManagedObject {
 public:
  void set(String name, String value) {
    properties_.emplace_back(std::move(name), std::move(value));
  }
  std::optional<String> get(const String& name) const;

 private:
  std::vector<std::pair<String, String>> properties_;
};

// The objects of the class `className`; nullopt when the query fails (an unknown class).
std::optional<std::vector<ManagedObject>> queryManagement(const String& className);

}  // namespace zv::platform
