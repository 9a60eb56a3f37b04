// The tree-view module routines shared by TrViewLib's members: new labels among siblings,
// key tests among children, and the report of FindChildFromText.
#pragma once

#include <functional>
#include <optional>
#include <unordered_set>

#include "runtime/errors.h"
#include "runtime/object.h"
#include "treeview/tree_links.h"

namespace zv::treeview {

// The children of Nodes(parentKey), walked once. The routines that would walk the same
// children again for each candidate label or key read them once through this instead, so
// numbering stays linear, and answer as those walks would: a start that is blank, missing
// or childless has no children; a walk that failed part way has only the children read
// before the failure, and the caller reports the failure when it needed the rest.
class ChildScan {
 public:
  ChildScan(const ObjectRef& tree, const String& parentKey, SiblingWalk::Direction direction,
            const std::function<void(const ObjectRef& child, int32_t index)>& visit);

  bool failed() const { return failure_.has_value(); }
  // Reports the walk's failure under `message`; indexReached() is the child index it quotes.
  void reportFailure(const String& message) const;
  int32_t indexReached() const { return indexReached_; }

 private:
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
  std::unordered_set<String> keys_;
  ChildScan scan_;
};

// `theLabel`, or `theLabel #n` with the lowest n that no direct child of `parentNode`
// shows as its Text.
String GetNewLabel(const ObjectRef& tree, const ObjectRef& parentNode, const String& theLabel);

// The report of FindChildFromText.
String findChildFromTextMessage(int32_t index, const String& parentKeyNode, const String& theText);

}  // namespace zv::treeview
