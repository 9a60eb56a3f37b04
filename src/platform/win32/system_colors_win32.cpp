#include <windows.h>

#include "platform/system_colors.h"

namespace zv::platform {

int32_t systemColor(int32_t index) {
  // GetSysColor itself answers 0 for an index it does not know; the range check keeps
  // that true on every version of Windows.
  if (index < kFirstSystemColor || index > kLastSystemColor) return 0;
  return static_cast<int32_t>(GetSysColor(index));
}

}  // namespace zv::platform
