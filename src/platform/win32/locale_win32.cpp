#include <windows.h>

#include "platform/locale.h"

namespace zv::platform {

int32_t userLcid() {
  return static_cast<int32_t>(GetUserDefaultLCID());
}

int32_t systemLcid() {
  return static_cast<int32_t>(GetSystemDefaultLCID());
}

}  // namespace zv::platform
