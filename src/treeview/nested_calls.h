// Nested calls of one tree routine (a subtree copy calling itself on each child with
// children, a deletion calling itself on each child) kept on a heap stack instead of the
// machine's, so that deep trees cannot exhaust it.
#pragma once

#include <optional>
#include <vector>

#include "runtime/trap.h"
#include "treeview/tree_links.h"

namespace zv::treeview {

// Runs `first` and the calls it makes. A call is a Level with a `bool result`:
// - `step(level, inner)` runs the call's next statements; it returns true when the call has
//   ended, or sets `inner` to a call to run before it goes on;
// - each call has its own trap: a failure inside `step` is reported by `report(level)` and
//   ends that call with the result it held;
// - `absorb(caller, result)` hands an ended call's result to its caller and returns true
//   when the caller ends with it.
// Once `budget` is exhausted (links going round in a cycle) every call ends.
template <class Level, class Step, class Absorb, class Report>
bool runNested(Level first, const WalkBudget& budget, Step&& step, Absorb&& absorb,
               Report&& report) {
  std::vector<Level> stack;
  stack.push_back(std::move(first));
  for (;;) {
    std::optional<Level> inner;
    bool ended = false;
    onError([&] { ended = step(stack.back(), inner); },
            [&] {
              report(stack.back());
              ended = true;
            });
    if (inner) {
      stack.push_back(std::move(*inner));
      continue;
    }
    while (ended) {
      const bool result = stack.back().result;
      stack.pop_back();
      if (stack.empty()) return result;
      ended = absorb(stack.back(), result) || budget.exhausted();
    }
  }
}

}  // namespace zv::treeview
