// The tree-view module routines shared by TrViewLib's members: new labels among siblings,
// key tests among children, and the report of FindChildFromText.
#pragma once

#include <optional>
#include <unordered_map>

#include "runtime/errors.h"
#include "runtime/object.h"
#include "treeview/tree_links.h"

namespace zv::treeview {

// The children of Nodes(parentKey), read once: each child's Key or Text with the Index of
// the first child showing it. The routines that would walk the same children once for
// each candidate label or key ask this instead, so numbering stays linear. It answers as
// those walks would: a start that is blank, missing or childless finds nothing silently;
// a walk that failed part way finds only what it read before the failure, and the caller
// reports the failure when it needed the rest.
class ChildValues {
 public:
  enum Value { kKey, kText };
  ChildValues(const ObjectRef& tree, const String& parentKey, Value value,
              SiblingWalk::Direction direction);

  // The Index of the first child read that shows `value`.
  std::optional<int32_t> find(const String& value) const;
  // Whether the walk stopped on a failure before its end.
  bool failed() const { return failure_.has_value(); }
  // Reports the walk's failure under `message` (the index reached is indexReached()).
  void reportFailure(const String& message) const;
  int32_t indexReached() const { return indexReached_; }

 private:
  std::unordered_map<String, int32_t> firstIndex_;
  std::optional<PendingError> failure_;
  int32_t indexReached_ = 0;
};

// isKeyExistInChildren for every key asked of one parent: whether a child of
// Nodes(parentKey) has `key` (blanks as "_"), or that without accents.
class ChildKeys {
 public:
  ChildKeys(const ObjectRef& tree, const String& parentKey);
  bool exists(const String& key) const;

 private:
  String parentKey_;
  ChildValues keys_;
};

// `theLabel`, or `theLabel #n` with the lowest n that no direct child of `parentNode`
// shows as its Text.
String GetNewLabel(const ObjectRef& tree, const ObjectRef& parentNode, const String& theLabel);

// The report of FindChildFromText.
String findChildFromTextMessage(int32_t index, const String& parentKeyNode, const String& theText);

}  // namespace zv::treeview
