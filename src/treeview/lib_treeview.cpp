#include "treeview/lib_treeview.h"

#include "api/StrChr.h"
#include "frame/traps.h"
#include "runtime/convert.h"
#include "runtime/trap.h"

namespace zv::treeview {

ChildValues::ChildValues(const ObjectRef& tree, const String& parentKey, Value value,
                         SiblingWalk::Direction direction) {
  onError(
      [&] {
        if (!tree || isBlank(parentKey)) return;
        const ObjectRef nodes = nodesOf(tree);
        const int32_t count = countOf(nodes);
        if (count < 1) return;
        const ObjectRef parent = itemOf(nodes, Variant(parentKey));
        if (!parent || childrenOf(parent) < 1) return;
        WalkBudget budget(count, 1);
        SiblingWalk walk(parent, budget, direction);
        while (const ObjectRef child = walk.next()) {
          indexReached_ = walk.indexReached();
          firstIndex_.try_emplace(value == kKey ? keyOf(child) : textOf(child), indexReached_);
        }
      },
      [&] {
        failure_ = pendingError();
        clearPendingError();
      });
}

std::optional<int32_t> ChildValues::find(const String& value) const {
  const auto it = firstIndex_.find(value);
  if (it == firstIndex_.end()) return std::nullopt;
  return it->second;
}

void ChildValues::reportFailure(const String& message) const {
  pendingError() = *failure_;
  ReportError(message, false);
}

ChildKeys::ChildKeys(const ObjectRef& tree, const String& parentKey)
    : parentKey_(parentKey), keys_(tree, parentKey, ChildValues::kKey, SiblingWalk::kBackward) {}

bool ChildKeys::exists(const String& key) const {
  if (isBlank(key)) return false;
  const String spaced = replaceAll(key, u" ", u"_");
  const String plain = StrChr::create()->RemoveAccent(spaced);
  if (keys_.find(spaced) || (plain != spaced && keys_.find(plain))) return true;
  if (keys_.failed()) {
    keys_.reportFailure(u"Error on finding the Key Node: " + longToString(keys_.indexReached()) +
                        u"\r\n\t" + parentKey_ + u"\r\n\t" + spaced);
  }
  return false;
}

String GetNewLabel(const ObjectRef& tree, const ObjectRef& parentNode, const String& theLabel) {
  String label = theLabel;
  if (!tree || !parentNode) return label;
  reportAndReturn(
      [&] {
        // FindChildFromText finds nothing for a blank text.
        if (isBlank(theLabel)) return;
        const String key = keyOf(parentNode);
        const ChildValues texts(tree, key, ChildValues::kText, SiblingWalk::kForward);
        for (int64_t counter = 1;; ++counter) {
          const auto index = texts.find(label);
          if (!index) {
            if (texts.failed())
              texts.reportFailure(findChildFromTextMessage(texts.indexReached(), key, label));
            return;
          }
          if (*index <= 0) return;
          label = theLabel + u" #" + longToString(counter);
        }
      },
      [&] { return u"Error on checking to get new label: " + theLabel; });
  return label;
}

String findChildFromTextMessage(int32_t index, const String& parentKeyNode, const String& theText) {
  return u"Error on finding the Text Node: " + longToString(index) + u"\r\n\t" + parentKeyNode +
         u"\r\n\t" + theText;
}

}  // namespace zv::treeview
