// A measurement in a process of its own: no round works in a heap another one left
// behind, and the process first touches the memory the round will use, since page faults
// on a busy virtual machine grow faster than the memory asked for.
#pragma once

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

namespace zv::bench {

// Maps and touches `bytes`, then frees them into a heap that keeps them.
inline void prefault(size_t bytes) {
  constexpr size_t kBlock = 1 << 20;
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, INT32_MAX);
  std::vector<char*> blocks(bytes / kBlock);
  for (char*& b : blocks) {
    b = static_cast<char*>(std::malloc(kBlock));
    std::memset(b, 1, kBlock);
  }
  for (char* b : blocks)
    std::free(b);
}

// What `measure` returns (plain data), computed in a child process that first prefaults
// `bytes`.
template <class Measure>
auto inFreshProcess(size_t bytes, Measure measure) {
  using Result = std::invoke_result_t<Measure>;
  static_assert(std::is_trivially_copyable_v<Result>);
  int ends[2];
  if (pipe(ends) != 0) std::abort();
  const pid_t child = fork();
  if (child < 0) std::abort();
  if (child == 0) {
    prefault(bytes);
    const Result r = measure();
    _exit(write(ends[1], &r, sizeof r) == sizeof r ? 0 : 1);
  }
  Result r{};
  const bool complete = read(ends[0], &r, sizeof r) == sizeof r;
  int status = 0;
  waitpid(child, &status, 0);
  close(ends[0]);
  close(ends[1]);
  if (!complete || status != 0) std::abort();
  return r;
}

}  // namespace zv::bench
