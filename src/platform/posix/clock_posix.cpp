#include <time.h>

#include "platform/clock.h"

namespace zv::platform {

uint32_t tickCount() {
  // CLOCK_MONOTONIC counts from boot and never steps back with the wall clock.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t ms =
      static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

LocalTime localNow() {
  const time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec < 60 ? local.tm_sec : 59};
}

}  // namespace zv::platform
