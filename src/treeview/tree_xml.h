// What the tree XML writer and reader share.
#pragma once

#include <cstdint>

namespace zv::treeview {

// The deepest node the writer follows (a root is at depth 0). Deeper subtrees fail with
// error 28, as an unbounded recursion would, and the reader's documents stay within the
// nesting the XML service accepts.
inline constexpr int32_t kMaxTreeDepth = 500;

}  // namespace zv::treeview
