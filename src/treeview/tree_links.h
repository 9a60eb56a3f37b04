// The caller's tree as the tree-view routines reach it: late-bound members of the tree, its
// node collection and its nodes, and the walks along the nodes' own links.
//
// A caller's control may order siblings its own way (sorted, for example), so walks follow
// the links the control hands out (Child, FirstSibling, Next, LastSibling) and never assume
// the model's order. Every walk is bounded by the tree's Count: a control whose links go
// round in a cycle ends the walk with an error instead of a loop that never ends.
#pragma once

#include <cstdint>
#include <functional>

#include "runtime/object.h"
#include "runtime/text.h"

namespace zv::treeview {

// The node collection and node members the routines read: by name, or through the typed
// interface of the library's own model.
ObjectRef nodesOf(const ObjectRef& tree);
int32_t countOf(const ObjectRef& nodes);
// Nodes(i): a node by key (String) or index (Long); Nothing when the control yields Nothing.
ObjectRef itemOf(const ObjectRef& nodes, const Variant& keyOrIndex);
String keyOf(const ObjectRef& node);
String textOf(const ObjectRef& node);
// Tag, Image and SelectedImage are variants; the routines compare them as text.
String tagOf(const ObjectRef& node);
String imageOf(const ObjectRef& node);
String selectedImageOf(const ObjectRef& node);
int32_t indexOf(const ObjectRef& node);
int32_t childrenOf(const ObjectRef& node);
ObjectRef parentOf(const ObjectRef& node);

enum class Link { Child, FirstSibling, LastSibling, Next, Previous, Parent, Root };
ObjectRef linkOf(const ObjectRef& node, Link link);

// What the XML file keeps of a node's look.
struct NodeLook {
  bool bold;
  int32_t foreColor, backColor;
  bool sorted, expanded;
};
NodeLook lookOf(const ObjectRef& node);

// The start node a search names: a key (none when blank), an index (none below 1) or the
// node itself.
ObjectRef startNode(const ObjectRef& nodes, const Variant& start);

// The node visits a search over a tree of `count` nodes may make: `count` in one sibling
// list, `passes` times `count` in all. Beyond, the links go round in a cycle: error 5, and
// the budget stays exhausted.
class WalkBudget {
 public:
  WalkBudget(int32_t count, int32_t passes) : perWalk_(count), left_(int64_t{passes} * count + 2) {}
  // One more visit, the `walkVisits`-th of its sibling list.
  void spend(int64_t walkVisits);
  bool exhausted() const { return left_ < 0; }

 private:
  int64_t perWalk_;
  int64_t left_;
};

// The children of a node, from Child.FirstSibling through Next to the child whose Index is
// Child.LastSibling.Index (or backwards, from LastSibling through Previous to the first).
// A Next or Previous of Nothing before the end is error 91, as reading it would be.
class SiblingWalk {
 public:
  enum Direction { kForward, kBackward };
  SiblingWalk(const ObjectRef& parent, WalkBudget& budget, Direction direction = kForward);
  // The next child, nullptr after the last.
  ObjectRef next();
  // The Index of the child reached, 0 before the first: the reports quote it.
  int32_t indexReached() const { return index_; }

 private:
  WalkBudget& budget_;
  Direction direction_;
  ObjectRef start_;
  ObjectRef current_;
  int32_t endIndex_ = 0;
  int32_t index_ = 0;
  int64_t visits_ = 0;
  bool done_ = false;
};

// A node value compared as the routines compare: equal, or containing the searched text
// (an empty one is in every value), after upper-casing both sides when asked.
class TextTest {
 public:
  TextTest(StringView searched, bool contains, bool upperCase);
  bool operator()(StringView value) const;

 private:
  String searched_;
  bool contains_;
  bool upperCase_;
};

// A test of a node, such as one value of it passing a TextTest.
using NodeTest = std::function<bool(const ObjectRef&)>;

template <String (*Read)(const ObjectRef&)>
NodeTest valueTest(TextTest test) {
  return [test = std::move(test)](const ObjectRef& node) { return test(Read(node)); };
}

template <String (*Read)(const ObjectRef&)>
NodeTest valueEquals(StringView value) {
  return valueTest<Read>(TextTest(value, false, false));
}

}  // namespace zv::treeview
