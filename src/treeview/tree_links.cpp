#include "treeview/tree_links.h"

#include "api/Node.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/via_model.h"

namespace zv::treeview {

namespace {

// Member `name` of a node as a late-bound read gives it, taken from the model's typed
// getter where it can be, so both convert alike.
template <class Getter>
Variant nodeMember(const ObjectRef& node, Getter typed, const char16_t* name) {
  return viaModel<zv::Node>(
      node, [&](zv::Node& n) { return Variant((n.*typed)()); }, [&] { return get(node, name); });
}

struct LinkMember {
  const char16_t* name;
  ObjectRef (zv::Node::*typed)();
};
constexpr LinkMember kLinks[] = {{u"Child", &zv::Node::get_Child},
                                 {u"FirstSibling", &zv::Node::get_FirstSibling},
                                 {u"LastSibling", &zv::Node::get_LastSibling},
                                 {u"Next", &zv::Node::get_Next},
                                 {u"Previous", &zv::Node::get_Previous},
                                 {u"Parent", &zv::Node::get_Parent},
                                 {u"Root", &zv::Node::get_Root}};

}  // namespace

ObjectRef linkOf(const ObjectRef& node, Link link) {
  const LinkMember& m = kLinks[static_cast<int>(link)];
  return toObject(nodeMember(node, m.typed, m.name));
}

NodeLook lookOf(const ObjectRef& node) {
  return {toBoolean(nodeMember(node, &zv::Node::get_Bold, u"Bold")),
          toLong(nodeMember(node, &zv::Node::get_ForeColor, u"ForeColor")),
          toLong(nodeMember(node, &zv::Node::get_BackColor, u"BackColor")),
          toBoolean(nodeMember(node, &zv::Node::get_Sorted, u"Sorted")),
          toBoolean(nodeMember(node, &zv::Node::get_Expanded, u"Expanded"))};
}

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
  return toString(nodeMember(node, &zv::Node::get_Key, u"Key"));
}

String textOf(const ObjectRef& node) {
  return toString(nodeMember(node, &zv::Node::get_Text, u"Text"));
}

String tagOf(const ObjectRef& node) {
  return toString(nodeMember(node, &zv::Node::get_Tag, u"Tag"));
}

String imageOf(const ObjectRef& node) {
  return toString(nodeMember(node, &zv::Node::get_Image, u"Image"));
}

String selectedImageOf(const ObjectRef& node) {
  return toString(nodeMember(node, &zv::Node::get_SelectedImage, u"SelectedImage"));
}

int32_t indexOf(const ObjectRef& node) {
  return toLong(nodeMember(node, &zv::Node::get_Index, u"Index"));
}

int32_t childrenOf(const ObjectRef& node) {
  return toLong(nodeMember(node, &zv::Node::get_Children, u"Children"));
}

ObjectRef parentOf(const ObjectRef& node) {
  return linkOf(node, Link::Parent);
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
  const ObjectRef child = linkOf(parent, Link::Child);
  const ObjectRef first = linkOf(child, Link::FirstSibling);
  const ObjectRef last = linkOf(child, Link::LastSibling);
  start_ = direction == kForward ? first : last;
  endIndex_ = indexOf(direction == kForward ? last : first);
}

ObjectRef SiblingWalk::next() {
  if (done_) return nullptr;
  if (current_) {
    current_ = linkOf(current_, direction_ == kForward ? Link::Next : Link::Previous);
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
