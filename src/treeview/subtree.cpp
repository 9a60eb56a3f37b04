// Subtree copy, move and delete: a node copied with its whole subtree under new keys, moved
// (copied, then the source deleted), its display state copied onto another node, and a
// node's descendants removed deepest first.
#include "frame/traps.h"
#include "frame/varnix.h"
#include "runtime/convert.h"
#include "treeview/TrViewLib.h"
#include "treeview/nested_calls.h"

namespace zv::impl {

using namespace treeview;

namespace {

constexpr int16_t kChild = 4;

bool flagOf(const ObjectRef& node, StringView member) {
  return toBoolean(get(node, member));
}

// Nodes(key), or Nothing when the control holds no node under that key.
ObjectRef nodeByKey(const ObjectRef& nodes, const String& key) {
  ObjectRef node;
  returnOnly([&] { node = itemOf(nodes, Variant(key)); });
  return node;
}

// Whether the copy's place (the target itself for a child, the target's parent for a
// sibling) is the source or lies below it: the copy would then walk into its own nodes.
bool landsInside(const ObjectRef& source, const ObjectRef& target, int16_t relationship,
                 int32_t count) {
  const int32_t sourceIndex = indexOf(source);
  WalkBudget budget(count, 1);
  for (ObjectRef up = relationship == kChild ? target : parentOf(target); up; up = parentOf(up)) {
    budget.spend(1);
    if (indexOf(up) == sourceIndex) return true;
  }
  return false;
}

String keysText(const String& heading, const String& source, const String& target) {
  return heading + u"\r\n\tSource: " + source + u"\r\n\tTarget: " + target;
}

// One call of SubTreeCopyWithRelation; made as SubTreeCopy calls it (a last child, forcing
// and warnings on).
struct CopyLevel {
  CopyLevel(String source, String target)
      : sourceKey(std::move(source)), targetKey(std::move(target)) {}
  String sourceKey;
  String targetKey;
  String newLabel;
  String newIcon;
  String newSelectedIcon;
  int16_t relationship = kChild;
  bool valForce = true;
  bool displayWarning = true;
  // The caller's own request (the inner calls copy into the new nodes, never into a source).
  bool request = false;
  bool result = false;
  String copyKey;
  std::optional<SiblingWalk> walk;
  int32_t childrenCopied = 0;
};

class SubtreeCopy {
 public:
  SubtreeCopy(TrViewLib& lib, ObjectRef& tree, WalkBudget& budget)
      : lib_(lib), tree_(tree), budget_(budget) {}

  bool run(CopyLevel request) {
    return runNested(
        std::move(request), budget_,
        [this](CopyLevel& level, std::optional<CopyLevel>& inner) { return step(level, inner); },
        // A child's subtree that could not be copied ends the copy.
        [](CopyLevel&, bool copied) { return !copied; },
        [](const CopyLevel& level) { ReportError(copyErrorMessage(level), false); });
  }

  static String copyErrorMessage(const CopyLevel& level) {
    return keysText(u"Error on subtree copy with RelationShip: " + longToString(level.relationship),
                    level.sourceKey, level.targetKey);
  }

 private:
  void warn(const CopyLevel& level, const String& heading) const {
    if (level.displayWarning)
      ShowInformation(keysText(heading, level.sourceKey, level.targetKey), u"");
  }

  // The copy of the source node itself; true when the call has ended.
  bool start(CopyLevel& level) {
    const ObjectRef nodes = nodesOf(tree_);
    const int32_t count = countOf(nodes);
    if (count < 1) return true;
    if (isBlank(level.sourceKey) || isBlank(level.targetKey)) {
      warn(level, u"Source Key or Target Key is empty: ");
      return true;
    }
    const ObjectRef source = nodeByKey(nodes, level.sourceKey);
    const ObjectRef target = nodeByKey(nodes, level.targetKey);
    if (!source || !target) {
      warn(level, u"Source Node or Target Node is null: ");
      return true;
    }
    if (level.request && landsInside(source, target, level.relationship, count)) {
      warn(level, u"Target Node is inside the Source Node's subtree: ");
      return true;
    }
    level.copyKey = lib_.CreateRelationNode(
        tree_, level.targetKey, isBlank(level.newLabel) ? textOf(source) : level.newLabel,
        isBlank(level.newIcon) ? imageOf(source) : level.newIcon,
        isBlank(level.newSelectedIcon) ? selectedImageOf(source) : level.newSelectedIcon,
        tagOf(source), flagOf(source, u"Expanded"), flagOf(source, u"Sorted"), level.valForce,
        level.displayWarning, level.relationship);
    if (level.copyKey.empty()) {
      warn(level, u"Unable to create the Node (1): " + level.copyKey);
      return true;
    }
    lib_.CopyStateView(tree_, level.sourceKey, level.copyKey, level.displayWarning);
    level.result = childrenOf(source) < 1;
    if (!level.result) level.walk.emplace(source, budget_);
    return level.result;
  }

  bool step(CopyLevel& level, std::optional<CopyLevel>& inner) {
    if (!level.walk) return start(level);
    const ObjectRef child = level.walk->next();
    if (!child) {
      level.result = true;
      return true;
    }
    ++level.childrenCopied;
    if (childrenOf(child) > 0) {
      // SubTreeCopy: the child with its subtree as the last child of the copy.
      inner.emplace(keyOf(child), level.copyKey);
      return false;
    }
    const String made =
        lib_.CreateChildNode(tree_, level.copyKey, textOf(child), imageOf(child), tagOf(child),
                             flagOf(child, u"Expanded"), flagOf(child, u"Sorted"), true, true);
    if (made.empty()) {
      warn(level, u"Unable to create the Node (" + String(level.childrenCopied == 1 ? u"2" : u"3") +
                      u"): " + made);
      return true;
    }
    lib_.CopyStateView(tree_, keyOf(child), made, level.displayWarning);
    return false;
  }

  TrViewLib& lib_;
  ObjectRef& tree_;
  WalkBudget& budget_;
};

// One call of DeleteNodeAndChildren: the children from the last to the first, each after
// its own descendants, then the node itself when asked.
struct DeleteLevel {
  explicit DeleteLevel(ObjectRef n) : node(std::move(n)) {}
  ObjectRef node;
  bool result = false;
  bool started = false;
  ObjectRef next;     // the child to delete next
  ObjectRef visited;  // the child whose own call has just ended
  int32_t indexReached = 0;
  int64_t visits = 0;
};

void removeNode(const ObjectRef& nodes, const ObjectRef& node) {
  // The Index is read at the removal: earlier removals shift it.
  call(nodes, u"Remove", {Variant(indexOf(node))});
}

// DeleteNodeAndChildren (tree, P, deleteItToo).
bool deleteNodeAndChildren(const ObjectRef& tree, const ObjectRef& start, bool deleteItToo) {
  if (!tree || !start) return false;
  const ObjectRef nodes = nodesOf(tree);
  WalkBudget budget(countOf(nodes), 1);
  auto step = [&](DeleteLevel& level, std::optional<DeleteLevel>& inner) {
    if (!level.started) {
      level.started = true;
      if (childrenOf(level.node) > 0)
        level.next = linkOf(linkOf(level.node, Link::Child), Link::LastSibling);
    }
    if (level.visited) {
      const ObjectRef child = std::move(level.visited);
      if (!deleteItToo) removeNode(nodes, child);
    }
    if (!level.next) {
      if (deleteItToo) removeNode(nodes, level.node);
      level.result = true;
      return true;
    }
    ObjectRef child = std::move(level.next);
    budget.spend(++level.visits);
    level.indexReached = indexOf(child);
    level.next = linkOf(child, Link::Previous);
    level.visited = child;
    inner.emplace(std::move(child));
    return false;
  };
  return runNested(
      DeleteLevel(start), budget, step, [](DeleteLevel&, bool) { return false; },
      [](const DeleteLevel& level) {
        ReportError(u"Error on Node deleting: " + longToString(level.indexReached), false);
      });
}

bool deleteFrom(const ObjectRef& tree, const String& startKey, bool deleteItToo,
                const String& message) {
  bool result = false;
  if (!tree) return result;
  reportAndReturn(
      [&] {
        const ObjectRef nodes = nodesOf(tree);
        if (countOf(nodes) < 1 || isBlank(startKey)) return;
        result = deleteNodeAndChildren(tree, itemOf(nodes, Variant(startKey)), deleteItToo);
      },
      message);
  return result;
}

}  // namespace

bool TrViewLib::SubTreeCopyWithRelation(ObjectRef& theMainTree, const String& keyNodeSource,
                                        const String& keyNodeTarget, const String& newLabel,
                                        const String& newIcon, const String& newSelectedIcon,
                                        int16_t theRelationShip, bool valForce,
                                        bool displayWarning) {
  bool result = false;
  if (!theMainTree) return result;
  CopyLevel request(keyNodeSource, keyNodeTarget);
  request.newLabel = newLabel;
  request.newIcon = newIcon;
  request.newSelectedIcon = newSelectedIcon;
  request.relationship = theRelationShip;
  request.valForce = valForce;
  request.displayWarning = displayWarning;
  request.request = true;
  reportAndReturn(
      [&] {
        const int32_t count = countOf(nodesOf(theMainTree));
        if (count < 1) return;
        WalkBudget budget(count, 1);
        result = SubtreeCopy(*this, theMainTree, budget).run(request);
      },
      [&] { return SubtreeCopy::copyErrorMessage(request); });
  return result;
}

bool TrViewLib::SubTreeCopy(ObjectRef& theTree, const String& keyNodeSource,
                            const String& keyNodeTarget, const String& newLabel,
                            const String& newIcon, const String& newSelectedIcon) {
  bool result = false;
  reportAndReturn(
      [&] {
        result = SubTreeCopyWithRelation(theTree, keyNodeSource, keyNodeTarget, newLabel, newIcon,
                                         newSelectedIcon, kChild, true, true);
      },
      [&] { return u"Error on subtree copy: " + keyNodeSource; });
  return result;
}

bool TrViewLib::SubTreeMove(ObjectRef& theMainTree, const String& keyNodeSource,
                            const String& keyNodeTarget, int16_t theRelationShip,
                            const String& newLabel, const String& newIcon,
                            const String& newSelectedIcon, bool displayWarning) {
  bool result = false;
  if (!theMainTree) return result;
  reportAndReturn(
      [&] {
        if (SubTreeCopyWithRelation(theMainTree, keyNodeSource, keyNodeTarget, newLabel, newIcon,
                                    newSelectedIcon, theRelationShip, true, displayWarning))
          result = DeleteNodeWithChildren(theMainTree, keyNodeSource);
      },
      u"Error on moving Node operation");
  return result;
}

void TrViewLib::CopyStateView(ObjectRef& theMainTree, const String& keyNodeSource,
                              const String& keyNodeTarget, bool displayWarning) {
  if (!theMainTree) return;
  returnOnly([&] {
    const ObjectRef nodes = nodesOf(theMainTree);
    if (countOf(nodes) < 1) return;
    if (isBlank(keyNodeSource) || isBlank(keyNodeTarget)) {
      if (displayWarning)
        ShowInformation(keysText(u"State view copy\r\nSource Key or Target Key is empty: ",
                                 keyNodeSource, keyNodeTarget),
                        u"");
      return;
    }
    const ObjectRef source = itemOf(nodes, Variant(keyNodeSource));
    const ObjectRef target = itemOf(nodes, Variant(keyNodeTarget));
    for (const char16_t* member : {u"BackColor", u"ForeColor", u"Bold", u"Checked"})
      put(target, member, get(source, member));
  });
}

bool TrViewLib::DeleteChildrenOfNode(ObjectRef& theMainTree, const String& StartNodeKey) {
  return deleteFrom(theMainTree, StartNodeKey, false,
                    u"Error on deleting Children Node: " + StartNodeKey);
}

bool TrViewLib::DeleteNodeWithChildren(ObjectRef& theMainTree, const String& StartNodeKey) {
  return deleteFrom(theMainTree, StartNodeKey, true, u"Error on deleting Node and Children Node");
}

}  // namespace zv::impl
