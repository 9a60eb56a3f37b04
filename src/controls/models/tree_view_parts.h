// The parts of the tree-view model: the node collection (in the order nodes were added,
// which their Index follows) and the nodes, linked to their parent and siblings.
#pragma once

#include <memory>

#include "api/Node.h"
#include "api/Nodes.h"
#include "api/TreeView.h"
#include "controls/models/keyed_list.h"

namespace zv::models {

class Nodes;

class Node final : public zv::Node, public CollectionMember {
 public:
  explicit Node(Nodes* owner) : owner_(owner) {}
  String get_Key() override { return key(); }
  void let_Key(const String& newValue) override;
  Variant get_Image() override { return image_; }
  void let_Image(const Variant& newValue) override;
  Variant get_SelectedImage() override { return selectedImage_; }
  void let_SelectedImage(const Variant& newValue) override;
  Variant get_ExpandedImage() override { return expandedImage_; }
  void let_ExpandedImage(const Variant& newValue) override;
  int32_t get_Index() override { return position(); }
  int32_t get_ForeColor() override { return foreColor_; }
  void let_ForeColor(int32_t newValue) override { foreColor_ = checkedColor(newValue); }
  int32_t get_BackColor() override { return backColor_; }
  void let_BackColor(int32_t newValue) override { backColor_ = checkedColor(newValue); }
  int32_t get_Children() override { return childCount_; }
  ObjectRef get_Child() override { return refTo(firstChild_); }
  ObjectRef get_FirstSibling() override;
  ObjectRef get_LastSibling() override;
  ObjectRef get_Next() override { return refTo(next_); }
  ObjectRef get_Previous() override { return refTo(previous_); }
  ObjectRef get_Parent() override { return refTo(parent_); }
  ObjectRef get_Root() override;
  String get_FullPath() override;
  // Expands the node's ancestors.
  bool EnsureVisible() override;

  // Leaves the tree: no collection, no relatives.
  void detach();

 private:
  friend class Nodes;
  static ObjectRef refTo(Node* node) { return node ? node->shared_from_this() : nullptr; }

  Nodes* owner_;
  Variant image_, selectedImage_, expandedImage_;
  int32_t foreColor_ = 0;
  int32_t backColor_ = 0xFFFFFF;
  Node* parent_ = nullptr;
  Node* firstChild_ = nullptr;
  Node* lastChild_ = nullptr;
  Node* previous_ = nullptr;
  Node* next_ = nullptr;
  int32_t childCount_ = 0;
  bool doomed_ = false;  // marked while Remove gathers a subtree
};

class Nodes final : public zv::Nodes {
 public:
  ~Nodes() override;
  int32_t get_Count() override { return nodes_.count(); }
  ObjectRef Item(const Variant& Index) override { return nodes_.at(Index); }
  ObjectRef Add(const Variant& Relative, const Variant& Relationship, const Variant& Key,
                const Variant& Text, const Variant& Image, const Variant& SelectedImage) override;
  void Remove(const Variant& Index) override;
  void Clear() override;
  std::vector<Variant> enumerate() override { return list().variants(); }

  KeyedList<Node>& list() { return nodes_; }
  Node* firstRoot() const { return firstRoot_; }
  Node* lastRoot() const { return lastRoot_; }
  // The tree the nodes belong to: its image list and path separator.
  void attachTree(zv::TreeView* tree) { tree_ = tree; }
  // Error 35613 without an image list; the image list's own error for an unknown entry.
  void checkImage(const Variant& image) const;
  String pathSeparator() const { return tree_ ? tree_->get_PathSeparator() : String(u"\\"); }

 private:
  // Puts `node` among the children of `parent` (the roots for nullptr), before `before`
  // (at the end for nullptr).
  void link(Node& node, Node* parent, Node* before);
  void unlink(Node& node);

  KeyedList<Node> nodes_;
  Node* firstRoot_ = nullptr;
  Node* lastRoot_ = nullptr;
  zv::TreeView* tree_ = nullptr;
};

}  // namespace zv::models
