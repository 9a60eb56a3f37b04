// The search over a node's children, and below them when asked, shared by the members that
// find, collect and count children.
//
// Each level of a search behaves as one call of the member on that start node: it has its
// own error trap, so a failure inside a child's subtree is reported with that level's
// message and the level returns what it held, while the levels above go on with the next
// child. Levels are kept on a heap stack, not the machine's, so deep trees are fine. A
// search whose walks exceed the tree's Count (a cycle in a caller's control) is reported
// once and ends at every level.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "frame/varnix.h"
#include "runtime/convert.h"
#include "runtime/trap.h"
#include "treeview/tree_links.h"

namespace zv::treeview {

enum class Descent {
  kNone,           // the direct children only
  kSiblingsFirst,  // all children compared, then each child's subtree in turn
  kDepthFirst,     // each child compared, then its subtree, before the next child
};

// How a level names the start of a child's level: by the child's Key, Index or the node.
enum class StartBy { kKey, kIndex, kNode };

template <class Result>
struct ChildSearch {
  Descent descent = Descent::kNone;
  StartBy startBy = StartBy::kKey;
  // Compares a child; on a match, updates the level's result. True ends the level.
  std::function<bool(Result& held, const ObjectRef& child)> visit;
  // Takes in what a child's level returned. True ends the level.
  std::function<bool(Result& held, const Result& inner)> absorb;
  // The report of a level that fails, from its start and the child index reached.
  std::function<String(const Variant& start, int32_t index)> message;
};

// Runs `search` from `start` on a tree of `count` nodes; a level whose start node is
// missing or has no children returns `neutral`.
template <class Result>
Result runChildSearch(const ObjectRef& nodes, int32_t count, const Variant& start,
                      const ChildSearch<Result>& search, const Result& neutral) {
  struct Level {
    Level(Variant s, Result h) : start(std::move(s)), held(std::move(h)) {}
    Variant start;
    Result held;
    ObjectRef node;
    std::optional<SiblingWalk> walk;
    bool descending = false;  // the second pass of a siblings-first level
  };
  // A correct tree is walked at most twice (siblings first: compare, then descend).
  WalkBudget budget(count, 2);

  // One step of the top level: true when the level has ended; `inner` names a child level
  // to run first.
  auto step = [&](Level& level, std::optional<Variant>& inner) {
    if (!level.node) {
      level.node = startNode(nodes, level.start);
      if (!level.node || childrenOf(level.node) < 1) return true;
    }
    if (!level.walk) level.walk.emplace(level.node, budget);
    const ObjectRef child = level.walk->next();
    if (!child) {
      if (search.descent != Descent::kSiblingsFirst || level.descending) return true;
      level.descending = true;
      level.walk.reset();
      return false;
    }
    if (!level.descending && search.visit(level.held, child)) return true;
    const bool descends = search.descent == Descent::kDepthFirst || level.descending;
    if (descends && childrenOf(child) > 0) {
      switch (search.startBy) {
        case StartBy::kKey:
          inner = Variant(keyOf(child));
          break;
        case StartBy::kIndex:
          inner = Variant(indexOf(child));
          break;
        case StartBy::kNode:
          inner = Variant(child);
          break;
      }
    }
    return false;
  };

  std::vector<Level> stack;
  stack.emplace_back(start, neutral);
  for (;;) {
    Level& level = stack.back();
    bool ended = false;
    std::optional<Variant> inner;
    onError([&] { ended = step(level, inner); },
            [&] {
              const int32_t index = level.walk ? level.walk->indexReached() : 0;
              ReportError(search.message(level.start, index), false);
              ended = true;
            });
    if (inner) {
      stack.emplace_back(std::move(*inner), neutral);
    } else if (ended) {
      // Ends the level and hands its result to the one above, which may end in turn;
      // after a cycle every level ends.
      for (;;) {
        Result held = std::move(stack.back().held);
        stack.pop_back();
        if (stack.empty()) return held;
        if (!search.absorb(stack.back().held, held) && !budget.exhausted()) break;
      }
    }
  }
}

// A member's search from `start` in `tree`: `neutral` for a tree of Nothing or without
// nodes; a failure before the first level (reading the tree) is reported as the first
// level's would be.
template <class Result>
Result searchChildren(const ObjectRef& tree, const Variant& start,
                      const ChildSearch<Result>& search, const Result& neutral) {
  Result result = neutral;
  if (!tree) return result;
  onError(
      [&] {
        const ObjectRef nodes = nodesOf(tree);
        const int32_t count = countOf(nodes);
        if (count >= 1) result = runChildSearch(nodes, count, start, search, neutral);
      },
      [&] { ReportError(search.message(start, 0), false); });
  return result;
}

}  // namespace zv::treeview
