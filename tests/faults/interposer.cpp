// The C library's file and clock calls, wrapped in the fault runner's executable (whose
// definitions the linker prefers to the C library's): once armed, the n-th call of one kind
// fails with a chosen errno, as a full disk, a failing device or a lost network mount would
// make it fail.
#include "interposer.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace faults {

namespace {

Plan tPlan;

template <class F>
F real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// Counts a call of `kind`; true when it is the one to fail (errno is then set).
bool fails(Kind kind) {
  if (!tPlan.armed) return false;
  if (++tPlan.calls[kind] != tPlan.failAt || kind != tPlan.kind) return false;
  errno = tPlan.error;
  return true;
}

}  // namespace

Plan& plan() {
  return tPlan;
}

}  // namespace faults

using faults::fails;
using faults::real;

extern "C" int openat(int dir, const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(ap, mode_t) : 0;
  va_end(ap);
  if (fails(faults::kOpen)) return -1;
  static const auto next = real<int (*)(int, const char*, int, ...)>("openat");
  return next(dir, path, flags, mode);
}
extern "C" int openat64(int dir, const char* path, int flags, ...) __attribute__((alias("openat")));

extern "C" int open(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(ap, mode_t) : 0;
  va_end(ap);
  return openat(AT_FDCWD, path, flags, mode);
}
extern "C" int open64(const char* path, int flags, ...) __attribute__((alias("open")));

// The C library's `name`, failing when it makes the call of `kind` the plan chose.
#define FAILING(kind, failed, type, name, params, args)   \
  extern "C" type name params {                           \
    if (fails(faults::kind)) return failed;               \
    static const auto next = real<type(*) params>(#name); \
    return next args;                                     \
  }

FAILING(kOpen, nullptr, FILE*, fopen, (const char* path, const char* mode), (path, mode))
extern "C" FILE* fopen64(const char* path, const char* mode) __attribute__((alias("fopen")));
FAILING(kWrite, -1, ssize_t, write, (int fd, const void* data, size_t size), (fd, data, size))
FAILING(kWrite, -1, ssize_t, writev, (int fd, const iovec* parts, int count), (fd, parts, count))
FAILING(kWrite, -1, ssize_t, pwrite64, (int fd, const void* data, size_t size, off_t at),
        (fd, data, size, at))
extern "C" ssize_t pwrite(int fd, const void* data, size_t size, off_t at)
    __attribute__((alias("pwrite64")));
FAILING(kWrite, 0, size_t, fwrite, (const void* data, size_t size, size_t count, FILE* file),
        (data, size, count, file))
FAILING(kRename, -1, int, rename, (const char* from, const char* to), (from, to))
FAILING(kFsync, -1, int, fsync, (int fd), (fd))
FAILING(kFsync, -1, int, fdatasync, (int fd), (fd))

// A failing close still frees the descriptor, as Linux does.
extern "C" int close(int fd) {
  static const auto next = real<int (*)(int)>("close");
  const int result = next(fd);
  return fails(faults::kClose) ? -1 : result;
}

extern "C" int fclose(FILE* file) {
  static const auto next = real<int (*)(FILE*)>("fclose");
  const int result = next(file);
  return fails(faults::kClose) ? EOF : result;
}

// The clocks as the plan sets them: a monotonic clock that jumps, and a wall clock set
// to any second.
extern "C" int clock_gettime(clockid_t clock, timespec* now) {
  static const auto next = real<int (*)(clockid_t, timespec*)>("clock_gettime");
  const faults::Plan& p = faults::plan();
  if (!p.clockSet || clock != CLOCK_MONOTONIC) return next(clock, now);
  now->tv_sec = static_cast<time_t>(p.monotonicMs / 1000);
  now->tv_nsec = static_cast<long>(p.monotonicMs % 1000) * 1000000;
  return 0;
}

extern "C" time_t time(time_t* out) {
  static const auto next = real<time_t (*)(time_t*)>("time");
  const faults::Plan& p = faults::plan();
  const time_t now = p.clockSet ? static_cast<time_t>(p.wallSeconds) : next(nullptr);
  if (out) *out = now;
  return now;
}
