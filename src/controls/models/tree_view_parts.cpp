#include "controls/models/tree_view_parts.h"

#include <vector>

#include "controls/models/list_view_parts.h"
#include "runtime/errors.h"

namespace zv::models {

namespace {

enum Relationship { kFirst = 0, kLast = 1, kNext = 2, kPrevious = 3, kChild = 4 };

bool given(const Variant& v) {
  return !v.isMissing() && !v.isEmpty();
}

void detachNode(Node& node) {
  node.detach();
}

}  // namespace

// ---------------------------------------------------------------------------- Node

void Node::let_Key(const String& newValue) {
  if (!owner_) raiseControlError(kElementNotFound);
  owner_->list().rekey(*this, newValue);
}

void Node::let_Image(const Variant& newValue) {
  if (owner_) owner_->checkImage(newValue);
  image_ = newValue;
}

void Node::let_SelectedImage(const Variant& newValue) {
  if (owner_) owner_->checkImage(newValue);
  selectedImage_ = newValue;
}

void Node::let_ExpandedImage(const Variant& newValue) {
  if (owner_) owner_->checkImage(newValue);
  expandedImage_ = newValue;
}

ObjectRef Node::get_FirstSibling() {
  if (parent_) return refTo(parent_->firstChild_);
  return refTo(owner_ ? owner_->firstRoot() : this);
}

ObjectRef Node::get_LastSibling() {
  if (parent_) return refTo(parent_->lastChild_);
  return refTo(owner_ ? owner_->lastRoot() : this);
}

ObjectRef Node::get_Root() {
  Node* top = this;
  while (top->parent_)
    top = top->parent_;
  return refTo(top);
}

String Node::get_FullPath() {
  std::vector<Node*> chain;
  for (Node* n = this; n; n = n->parent_)
    chain.push_back(n);
  const String separator = owner_ ? owner_->pathSeparator() : String(u"\\");
  String path = chain.back()->get_Text();
  for (size_t i = chain.size() - 1; i-- > 0;)
    path += separator + chain[i]->get_Text();
  return path;
}

bool Node::EnsureVisible() {
  for (Node* n = parent_; n; n = n->parent_)
    n->let_Expanded(true);
  return true;
}

void Node::detach() {
  owner_ = nullptr;
  parent_ = firstChild_ = lastChild_ = previous_ = next_ = nullptr;
  childCount_ = 0;
}

// ---------------------------------------------------------------------------- Nodes

Nodes::~Nodes() {
  nodes_.clear(detachNode);
}

void Nodes::checkImage(const Variant& image) const {
  if (!given(image)) return;
  const ObjectRef images = tree_ ? tree_->get_ImageList() : nullptr;
  if (!images) raiseControlError(kImageListNotSet);
  call(toObject(get(images, u"ListImages")), u"Item", {image});
}

ObjectRef Nodes::Add(const Variant& Relative, const Variant& Relationship, const Variant& Key,
                     const Variant& Text, const Variant& Image, const Variant& SelectedImage) {
  // Everything is checked before the tree changes: a failed Add leaves it as it was.
  Node* relative = given(Relative) ? nodes_.at(Relative).get() : nullptr;
  const int32_t relationship =
      given(Relationship) ? toLong(Relationship) : (relative ? kNext : kLast);
  if (relationship < kFirst || relationship > kChild) raise(err::kInvalidCall);
  String key = nodes_.newKey(Key);
  checkImage(Image);
  checkImage(SelectedImage);

  auto node = std::make_shared<Node>(this);
  node->let_Text(optionalText(Text));
  node->image_ = Image.isMissing() ? Variant() : Image;
  node->selectedImage_ = SelectedImage.isMissing() ? Variant() : SelectedImage;

  Node* parent = relative ? relative->parent_ : nullptr;
  Node* before = nullptr;
  switch (relationship) {
    case kFirst:
      before = parent ? parent->firstChild_ : firstRoot_;
      break;
    case kNext:
      before = relative ? relative->next_ : nullptr;
      break;
    case kPrevious:
      before = relative;
      break;
    case kChild:
      parent = relative;
      break;
    default:
      break;
  }
  nodes_.insert(node, std::move(key), nodes_.items().size());
  link(*node, parent, before);
  return node;
}

void Nodes::link(Node& node, Node* parent, Node* before) {
  Node*& first = parent ? parent->firstChild_ : firstRoot_;
  Node*& last = parent ? parent->lastChild_ : lastRoot_;
  node.parent_ = parent;
  node.next_ = before;
  node.previous_ = before ? before->previous_ : last;
  (node.previous_ ? node.previous_->next_ : first) = &node;
  (before ? before->previous_ : last) = &node;
  if (parent) ++parent->childCount_;
}

void Nodes::unlink(Node& node) {
  Node* parent = node.parent_;
  (node.previous_ ? node.previous_->next_ : (parent ? parent->firstChild_ : firstRoot_)) =
      node.next_;
  (node.next_ ? node.next_->previous_ : (parent ? parent->lastChild_ : lastRoot_)) = node.previous_;
  if (parent) --parent->childCount_;
}

void Nodes::Remove(const Variant& Index) {
  Node& target = *nodes_.at(Index);
  // The subtree, marked without recursion (trees may be deep).
  std::vector<Node*> pending{&target};
  while (!pending.empty()) {
    Node* n = pending.back();
    pending.pop_back();
    n->doomed_ = true;
    for (Node* c = n->firstChild_; c; c = c->next_)
      pending.push_back(c);
  }
  unlink(target);
  nodes_.removeIf([](const Node& n) { return n.doomed_; },
                  [](Node& n) {
                    n.doomed_ = false;
                    n.detach();
                  });
}

void Nodes::Clear() {
  nodes_.clear(detachNode);
  firstRoot_ = lastRoot_ = nullptr;
}

}  // namespace zv::models
