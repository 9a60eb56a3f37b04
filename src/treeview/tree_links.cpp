#include "treeview/tree_links.h"

#include "runtime/convert.h"
#include "runtime/errors.h"

namespace zv::treeview {

namespace {

ObjectRef linkOf(const ObjectRef& node, StringView member) {
  return toObject(get(node, member));
}

}  // namespace

ObjectRef nodesOf(const ObjectRef& tree) {
  return toObject(get(tree, u"Nodes"));
}

int32_t countOf(const ObjectRef& nodes) {
  return toLong(get(nodes, u"Count"));
}

ObjectRef itemOf(const ObjectRef& nodes, const Variant& keyOrIndex) {
  return toObject(call(nodes, u"Item", {keyOrIndex}));
}

String keyOf(const ObjectRef& node) {
  return toString(get(node, u"Key"));
}

String textOf(const ObjectRef& node) {
  return toString(get(node, u"Text"));
}

String tagOf(const ObjectRef& node) {
  return toString(get(node, u"Tag"));
}

String imageOf(const ObjectRef& node) {
  return toString(get(node, u"Image"));
}

String selectedImageOf(const ObjectRef& node) {
  return toString(get(node, u"SelectedImage"));
}

int32_t indexOf(const ObjectRef& node) {
  return toLong(get(node, u"Index"));
}

int32_t childrenOf(const ObjectRef& node) {
  return toLong(get(node, u"Children"));
}

ObjectRef parentOf(const ObjectRef& node) {
  return linkOf(node, u"Parent");
}

ObjectRef startNode(const ObjectRef& nodes, const Variant& start) {
  if (start.isObject()) return start.objectValue();
  if (start.isString()) return isBlank(start.stringValue()) ? nullptr : itemOf(nodes, start);
  const int32_t index = toLong(start);
  return index < 1 ? nullptr : itemOf(nodes, Variant(index));
}

void WalkBudget::spend(int64_t walkVisits) {
  if (walkVisits > perWalk_) left_ = 0;
  if (--left_ < 0)
    raise(err::kInvalidCall, u"The tree's node links lead to more nodes than its Count holds");
}

SiblingWalk::SiblingWalk(const ObjectRef& parent, WalkBudget& budget, Direction direction)
    : budget_(budget), direction_(direction) {
  const ObjectRef child = linkOf(parent, u"Child");
  const ObjectRef first = linkOf(child, u"FirstSibling");
  const ObjectRef last = linkOf(child, u"LastSibling");
  start_ = direction == kForward ? first : last;
  endIndex_ = indexOf(direction == kForward ? last : first);
}

ObjectRef SiblingWalk::next() {
  if (done_) return nullptr;
  if (current_) {
    current_ = linkOf(current_, direction_ == kForward ? u"Next" : u"Previous");
    if (!current_) raise(err::kObjectNotSet);
  } else {
    current_ = start_;
  }
  budget_.spend(++visits_);
  index_ = indexOf(current_);
  done_ = index_ == endIndex_;
  return current_;
}

TextTest::TextTest(StringView searched, bool contains, bool upperCase)
    : searched_(upperCase ? ucase(searched) : String(searched)),
      contains_(contains),
      upperCase_(upperCase) {}

bool TextTest::operator()(StringView value) const {
  const String upper = upperCase_ ? ucase(value) : String();
  const StringView v = upperCase_ ? StringView(upper) : value;
  return contains_ ? v.find(searched_) != StringView::npos : v == searched_;
}

}  // namespace zv::treeview
