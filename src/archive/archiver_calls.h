// What the archivers' callbacks share: the object whose run it is, the password-cancelled
// flag, and the events they raise on it. A failure of an event handler is kept and stops
// the run; the driver raises it to the caller once the archiver has returned.
#pragma once

#include <cstdint>
#include <exception>

#include "runtime/object.h"

namespace zv::impl {

struct ArchiverRun {
  const Object* running = nullptr;
  bool passwordCancelled = false;
  std::exception_ptr failure;
};

// Makes `object` the running one of `run` for the scope's life; at its end, the failure
// of a handler (if any) reaches the caller.
class RunScope {
 public:
  RunScope(ArchiverRun& run, const Object& object);
  ~RunScope();
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;
  // Raises the kept failure; call after the archiver returned.
  void raiseFailure() const;

 private:
  ArchiverRun& run_;
  ArchiverRun saved_;
};

// Progress(1, text): `length` bytes of ANSI text cut at a NUL, "/" as the platform's
// separator; only for lengths 2 to 31999. A failing handler is ignored.
void raiseProgress(ArchiverRun& run, const char* text, uint32_t length);

// PasswordRequest: 0 and the password (at most 254 ANSI bytes, no terminator) in `buffer`,
// or 1 when none is given, now or earlier in the run.
int askPassword(ArchiverRun& run, char* buffer);

// Cancel(text, bCancel) for lengths 2 to 31999: 1 when the caller cancels, or a handler
// failed earlier or now.
int askCancel(ArchiverRun& run, const char* text, uint32_t length, bool backslashesAsSlashes);

// Runs `raise` (which raises one event); a failure is kept as the run's failure. False
// when it failed.
template <class Raise>
bool guarded(ArchiverRun& run, Raise&& raise) noexcept {
  try {
    raise();
    return true;
  } catch (...) {
    if (!run.failure) run.failure = std::current_exception();
    return false;
  }
}

// "/" as the platform's path separator.
String withPlatformSeparators(String text);

}  // namespace zv::impl
