// The system's clocks: the tick count GetTickCount gives, and the local wall-clock time.
#pragma once

#include <cstdint>

namespace zv::platform {

// Milliseconds since the system started, wrapping at 2^32 (about 49.7 days).
uint32_t tickCount();

// The current local date and time, as VB's Now reads it.
struct LocalTime {
  int32_t year = 1970, month = 1, day = 1;
  int32_t hour = 0, minute = 0, second = 0;
};
LocalTime localNow();

}  // namespace zv::platform
