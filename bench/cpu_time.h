// The clock the benchmark harnesses time with.
#pragma once

#include <time.h>

namespace zv::bench {

// CPU time of the process (user and system): other work on a shared machine disturbs it
// much less than wall time.
inline double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

}  // namespace zv::bench
