// The clock the benchmark harnesses time with.
#pragma once

#include <time.h>

#include <algorithm>

namespace zv::bench {

// CPU time of the process (user and system): other work on a shared machine disturbs it
// much less than wall time.
inline double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// CPU seconds of one call of `work`.
template <class Work>
double timed(Work&& work) {
  const double start = cpuSeconds();
  work();
  return cpuSeconds() - start;
}

// The best of `rounds` timings of `round()`, which returns the seconds of one round.
template <class Round>
double bestOf(int rounds, Round&& round) {
  double best = 1e300;
  for (int i = 0; i < rounds; ++i)
    best = std::min(best, double(round()));
  return best;
}

}  // namespace zv::bench
