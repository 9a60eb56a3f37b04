#include "treeview/lib_treeview.h"

#include <unordered_map>

#include "api/StrChr.h"
#include "frame/traps.h"
#include "runtime/convert.h"
#include "runtime/trap.h"

namespace zv::treeview {

ChildScan::ChildScan(const ObjectRef& tree, const String& parentKey,
                     SiblingWalk::Direction direction,
                     const std::function<void(const ObjectRef& child, int32_t index)>& visit) {
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
          visit(child, indexReached_);
        }
      },
      [&] {
        failure_ = pendingError();
        clearPendingError();
      });
}

void ChildScan::reportFailure(const String& message) const {
  pendingError() = *failure_;
  ReportError(message, false);
}

ChildKeys::ChildKeys(const ObjectRef& tree, const String& parentKey)
    : parentKey_(parentKey),
      scan_(tree, parentKey, SiblingWalk::kBackward,
            [this](const ObjectRef& child, int32_t) { keys_.insert(keyOf(child)); }) {}

bool ChildKeys::exists(const String& key) const {
  if (isBlank(key)) return false;
  const String spaced = replaceAll(key, u" ", u"_");
  const String plain = StrChr::create()->RemoveAccent(spaced);
  if (keys_.count(spaced) || (plain != spaced && keys_.count(plain))) return true;
  if (scan_.failed()) {
    scan_.reportFailure(u"Error on finding the Key Node: " + longToString(scan_.indexReached()) +
                        u"\r\n\t" + parentKey_ + u"\r\n\t" + spaced);
  }
  return false;
}

namespace {

// n when `text` is `numbered` followed by n written as longToString writes it (n >= 1),
// else -1.
int64_t numberAfter(StringView text, StringView numbered) {
  if (!text.starts_with(numbered)) return -1;
  const StringView digits = text.substr(numbered.size());
  if (digits.empty() || digits.size() > 18 || digits[0] == u'0') return -1;
  int64_t n = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return -1;
    n = n * 10 + (c - u'0');
  }
  return n;
}

}  // namespace

String GetNewLabel(const ObjectRef& tree, const ObjectRef& parentNode, const String& theLabel) {
  String label = theLabel;
  if (!tree || !parentNode) return label;
  reportAndReturn(
      [&] {
        // FindChildFromText finds nothing for a blank text.
        if (isBlank(theLabel)) return;
        const String key = keyOf(parentNode);
        // The Index of the first child showing candidate n: the label itself for 0,
        // "label #n" after.
        const String numbered = theLabel + u" #";
        std::unordered_map<int64_t, int32_t> taken;
        const ChildScan scan(tree, key, SiblingWalk::kForward,
                             [&](const ObjectRef& child, int32_t index) {
                               const String text = textOf(child);
                               const int64_t n = text == theLabel ? 0 : numberAfter(text, numbered);
                               if (n >= 0) taken.try_emplace(n, index);
                             });
        for (int64_t candidate = 0;; ++candidate) {
          if (candidate) label = numbered + longToString(candidate);
          const auto found = taken.find(candidate);
          if (found == taken.end()) {
            if (scan.failed())
              scan.reportFailure(findChildFromTextMessage(scan.indexReached(), key, label));
            return;
          }
          // FindChildFromText answers with the child's Index: none when it is not above 0.
          if (found->second <= 0) return;
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
