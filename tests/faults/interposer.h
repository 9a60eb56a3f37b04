// What the fault runner's wrappers of the C library do: count the calls of each kind
// once armed, fail the one chosen, and set the clocks.
#pragma once

#include <cstdint>

namespace faults {

enum Kind { kOpen, kWrite, kClose, kRename, kFsync, kKinds };

struct Plan {
  bool armed = false;
  Kind kind = kOpen;
  int failAt = 0;  // 1 for the first call of `kind`; 0 fails none
  int error = 0;
  int calls[kKinds] = {};
  bool clockSet = false;
  uint64_t monotonicMs = 0;
  int64_t wallSeconds = 0;
};

Plan& plan();

}  // namespace faults
