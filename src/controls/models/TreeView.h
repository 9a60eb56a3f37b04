// A tree-view: its nodes and the image list their images name entries of.
#pragma once

#include "api/TreeView.h"
#include "controls/models/tree_view_parts.h"

namespace zv::models {

class TreeView final : public zv::TreeView {
 public:
  TreeView() : nodes_(std::make_shared<Nodes>()) { nodes_->attachTree(this); }
  ~TreeView() override { nodes_->attachTree(nullptr); }
  TreeView(const TreeView&) = delete;
  TreeView& operator=(const TreeView&) = delete;

  ObjectRef get_Nodes() override { return nodes_; }
  ObjectRef get_ImageList() override { return imageList_; }
  // Any object with ListImages serves, the library's ImageList or the caller's own.
  void set_ImageList(const ObjectRef& newValue) override { imageList_ = newValue; }

  Nodes& nodes() { return *nodes_; }

 private:
  std::shared_ptr<Nodes> nodes_;
  ObjectRef imageList_;
};

}  // namespace zv::models
