#include <windows.h>

#include "platform/clock.h"

namespace zv::platform {

uint32_t tickCount() {
  return GetTickCount();
}

LocalTime localNow() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace zv::platform
