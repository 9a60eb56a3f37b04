// The error traps of the library's methods. Each public method states its form in one
// line: the body runs, a failure in it becomes the pending error, and the handler decides
// what the caller sees (the result held so far, as VB's On Error does).
#pragma once

#include <new>

#include "errors.h"

namespace zv {

// Runs `body`; a failure leaves the pending error set and runs `handler`.
template <class Body, class Handler>
void onError(Body&& body, Handler&& handler) {
  try {
    body();
  } catch (const Error& e) {
    setPendingError(e);
    handler();
  } catch (const std::bad_alloc&) {
    setPendingError(Error(err::kOutOfMemory));
    handler();
  }
}

// "Return only": a failure ends the body silently; the result held is returned.
template <class Body>
void returnOnly(Body&& body) {
  onError(body, [] { clearPendingError(); });
}

// "Skip": a failing statement is skipped and the method goes on (On Error Resume Next).
// Wrap each statement that may fail.
template <class Statement>
void resumeNext(Statement&& statement) {
  onError(statement, [] {});
}

}  // namespace zv
