// "Report and return": the trap form of most public methods. A failure in the body is
// reported through ReportError with the method's message; the method then returns the
// result it held at that moment.
#pragma once

#include <type_traits>

#include "frame/varnix.h"
#include "runtime/trap.h"

namespace zv {

// `message` is the text, or a callable that builds it when the failure happens (it may
// quote the state reached, such as a loop index).
template <class Body, class Message>
void reportAndReturn(Body&& body, Message&& message, bool showIt = false) {
  onError(body, [&] {
    if constexpr (std::is_invocable_v<Message>)
      ReportError(message(), showIt);
    else
      ReportError(String(message), showIt);
  });
}

}  // namespace zv
