// The C library's file and clock calls, wrapped in the fault runner's executable (whose
// definitions the linker prefers to the C library's): once armed, the n-th call of one kind
// fails with a chosen errno, as a full disk, a failing device or a lost network mount would
// make it fail. A failing close still frees the descriptor, as Linux does.
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
  tPlan.fired = true;
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

extern "C" int open(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(ap, mode_t) : 0;
  va_end(ap);
  if (fails(faults::kOpen)) return -1;
  static const auto next = real<int (*)(const char*, int, ...)>("open");
  return next(path, flags, mode);
}
extern "C" int open64(const char* path, int flags, ...) __attribute__((alias("open")));

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

extern "C" FILE* fopen(const char* path, const char* mode) {
  if (fails(faults::kOpen)) return nullptr;
  static const auto next = real<FILE* (*)(const char*, const char*)>("fopen");
  return next(path, mode);
}
extern "C" FILE* fopen64(const char* path, const char* mode) __attribute__((alias("fopen")));

extern "C" ssize_t write(int fd, const void* data, size_t size) {
  if (fails(faults::kWrite)) return -1;
  static const auto next = real<ssize_t (*)(int, const void*, size_t)>("write");
  return next(fd, data, size);
}

extern "C" ssize_t writev(int fd, const iovec* parts, int count) {
  if (fails(faults::kWrite)) return -1;
  static const auto next = real<ssize_t (*)(int, const iovec*, int)>("writev");
  return next(fd, parts, count);
}

extern "C" ssize_t pwrite64(int fd, const void* data, size_t size, off_t at) {
  if (fails(faults::kWrite)) return -1;
  static const auto next = real<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite64");
  return next(fd, data, size, at);
}
extern "C" ssize_t pwrite(int fd, const void* data, size_t size, off_t at)
    __attribute__((alias("pwrite64")));

extern "C" size_t fwrite(const void* data, size_t size, size_t count, FILE* file) {
  if (fails(faults::kWrite)) return 0;
  static const auto next = real<size_t (*)(const void*, size_t, size_t, FILE*)>("fwrite");
  return next(data, size, count, file);
}

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

extern "C" int rename(const char* from, const char* to) {
  if (fails(faults::kRename)) return -1;
  static const auto next = real<int (*)(const char*, const char*)>("rename");
  return next(from, to);
}

extern "C" int fsync(int fd) {
  if (fails(faults::kFsync)) return -1;
  static const auto next = real<int (*)(int)>("fsync");
  return next(fd);
}

extern "C" int fdatasync(int fd) {
  if (fails(faults::kFsync)) return -1;
  static const auto next = real<int (*)(int)>("fdatasync");
  return next(fd);
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
