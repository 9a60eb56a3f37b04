// The members that search the direct children of a start node, and below them when asked:
// first match by key or index, or every match pushed into the caller's collection.
#include "api/StrChr.h"
#include "frame/traps.h"
#include "treeview/TrViewLib.h"
#include "treeview/child_search.h"
#include "treeview/lib_treeview.h"

namespace zv::impl {

using namespace treeview;

namespace {

Descent orDirect(bool deeper, Descent descent) {
  return deeper ? descent : Descent::kNone;
}

// The report of a level: `prefix`, the child index reached, then the level's start and
// `value`, each on a line of its own after a TAB.
auto indexedMessage(const String& prefix, const String& value) {
  return [prefix, value](const Variant& start, int32_t index) {
    return prefix + longToString(index) + u"\r\n\t" + toString(start) + u"\r\n\t" + value;
  };
}

// The first child passing `test`, below a child before its next sibling when depth first:
// its Key.
ChildSearch<String> firstKey(Descent descent, NodeTest test,
                             std::function<String(const Variant&, int32_t)> message) {
  return {descent, StartBy::kKey,
          [test](String& held, const ObjectRef& child) {
            if (!test(child)) return false;
            held = keyOf(child);
            return true;
          },
          [](String& held, const String& inner) {
            if (inner.empty()) return false;
            held = inner;
            return true;
          },
          std::move(message)};
}

// The same, giving the child's Index; a child's level starts at its Key or its Index.
ChildSearch<int32_t> firstIndex(Descent descent, StartBy startBy, NodeTest test,
                                std::function<String(const Variant&, int32_t)> message) {
  return {descent, startBy,
          [test](int32_t& held, const ObjectRef& child) {
            if (!test(child)) return false;
            held = indexOf(child);
            return true;
          },
          [](int32_t& held, int32_t inner) {
            if (inner <= 0) return false;
            held = inner;
            return true;
          },
          std::move(message)};
}

// Every child passing `test`, siblings first: its Index is added to `coll`.
bool pushMatches(ObjectRef& tree, ObjectRef& coll, const String& parentKeyNode, NodeTest test,
                 bool searchInSubChlid, bool stopOnFirst, const String& prefix,
                 const String& value) {
  if (!coll) return false;
  const ChildSearch<bool> search{orDirect(searchInSubChlid, Descent::kSiblingsFirst), StartBy::kKey,
                                 [&](bool& held, const ObjectRef& child) {
                                   if (!test(child)) return false;
                                   held = true;
                                   call(coll, u"Add", {Variant(indexOf(child))});
                                   return stopOnFirst;
                                 },
                                 [&](bool& held, bool inner) {
                                   held = held || inner;
                                   return inner && stopOnFirst;
                                 },
                                 indexedMessage(prefix, value)};
  return searchChildren(tree, Variant(parentKeyNode), search, false);
}

// Item `thePos` of a child's Tag cut at `aSeparator` equals `aTag`; `lastTag` keeps the tag
// of the child reached for the report.
NodeTest tagItemEquals(const String& aTag, const String& aSeparator, int16_t thePos,
                       std::shared_ptr<String> lastTag) {
  return [=, strChr = StrChr::create()](const ObjectRef& child) {
    *lastTag = tagOf(child);
    return strChr->GetRightCount(*lastTag, aSeparator, thePos, true) == aTag;
  };
}

}  // namespace

bool TrViewLib::SearchNodeFromTextAndPushInColl(ObjectRef& trViewObj, ObjectRef& theColl,
                                                const String& parentKeyNode, const String& aText,
                                                bool searchInSubChlid, bool acceptSimilar,
                                                bool withUCase, bool stopOnFirst) {
  return pushMatches(trViewObj, theColl, parentKeyNode,
                     valueTest<textOf>(TextTest(aText, acceptSimilar, withUCase)), searchInSubChlid,
                     stopOnFirst, u"Error on searching the Text from tree: ", aText);
}

bool TrViewLib::SearchNodeFromImageAndPushInColl(ObjectRef& trViewObj, ObjectRef& theColl,
                                                 const String& parentKeyNode, const String& anImage,
                                                 bool searchInSubChlid, bool acceptSimilar,
                                                 bool withUCase, bool stopOnFirst) {
  return pushMatches(trViewObj, theColl, parentKeyNode,
                     valueTest<imageOf>(TextTest(anImage, acceptSimilar, withUCase)),
                     searchInSubChlid, stopOnFirst, u"Error on searching the Image from tree: ",
                     anImage);
}

bool TrViewLib::SearchNodeFromTagAndPushInColl(ObjectRef& trViewObj, ObjectRef& theColl,
                                               const String& parentKeyNode, const String& aTag,
                                               bool searchInSubChlid, bool acceptSimilar,
                                               bool withUCase, bool stopOnFirst) {
  return pushMatches(trViewObj, theColl, parentKeyNode,
                     valueTest<tagOf>(TextTest(aTag, acceptSimilar, withUCase)), searchInSubChlid,
                     stopOnFirst, u"Error on searching the Tag from tree: ", aTag);
}

String TrViewLib::SearchChildFromImage(ObjectRef& trViewObj, const String& parentKeyNode,
                                       const String& anImage, bool searchInSubChlid,
                                       bool acceptSimilar, bool withUCase) {
  if (isBlank(anImage)) return String();
  return searchChildren(trViewObj, Variant(parentKeyNode),
                        firstKey(orDirect(searchInSubChlid, Descent::kDepthFirst),
                                 valueTest<imageOf>(TextTest(anImage, acceptSimilar, withUCase)),
                                 indexedMessage(u"Error on searching the Image Node: ", anImage)),
                        String());
}

String TrViewLib::SearchChildFromTag(ObjectRef& trViewObj, const String& parentKeyNode,
                                     const String& aTag, bool searchInSubChlid, bool ifOnlyExist,
                                     bool withUCase) {
  if (isBlank(aTag)) return String();
  return searchChildren(trViewObj, Variant(parentKeyNode),
                        firstKey(orDirect(searchInSubChlid, Descent::kDepthFirst),
                                 valueTest<tagOf>(TextTest(aTag, ifOnlyExist, withUCase)),
                                 [](const Variant&, int32_t) {
                                   return String(u"Error on Searching Node from his Tag");
                                 }),
                        String());
}

String TrViewLib::SearchChildFromImageAndTag(ObjectRef& trViewObj, const String& parentKeyNode,
                                             String& anImage, const String& aTag) {
  if (isBlank(anImage) || isBlank(aTag)) return String();
  const NodeTest image = valueEquals<imageOf>(anImage);
  const NodeTest tag = valueEquals<tagOf>(aTag);
  return searchChildren(trViewObj, Variant(parentKeyNode),
                        firstKey(
                            Descent::kNone, [&](const ObjectRef& c) { return image(c) && tag(c); },
                            indexedMessage(u"Error on Searching the Image/Tag Node: ", aTag)),
                        String());
}

String TrViewLib::SearchChildFromText(ObjectRef& trViewObj, const String& parentKeyNode,
                                      const String& theText, bool recursiveSearch) {
  String result;
  int32_t index = 0;
  reportAndReturn(
      [&] {
        index = FindChildFromText(trViewObj, parentKeyNode, theText, recursiveSearch);
        if (index > 0) result = keyOf(itemOf(nodesOf(trViewObj), Variant(index)));
      },
      [&] {
        return u"Error on Searching the Text Node: " + longToString(index) + u"\r\n\t" +
               parentKeyNode + u"\r\n\t" + theText;
      });
  return result;
}

int32_t TrViewLib::FindChildFromText(ObjectRef& trViewObj, const String& parentKeyNode,
                                     const String& theText, bool recursiveFind) {
  if (isBlank(theText)) return 0;
  return searchChildren(trViewObj, Variant(parentKeyNode),
                        firstIndex(orDirect(recursiveFind, Descent::kSiblingsFirst), StartBy::kKey,
                                   valueEquals<textOf>(theText),
                                   [theText](const Variant& start, int32_t index) {
                                     return findChildFromTextMessage(index, toString(start),
                                                                     theText);
                                   }),
                        0);
}

int32_t TrViewLib::FindChildFromTag(ObjectRef& trViewObj, int32_t parentIndexNode,
                                    const String& aTag) {
  if (isBlank(aTag)) return 0;
  return searchChildren(trViewObj, Variant(parentIndexNode),
                        firstIndex(Descent::kNone, StartBy::kIndex, valueEquals<tagOf>(aTag),
                                   [](const Variant&, int32_t) {
                                     return String(u"Error on finding Node from his Tag");
                                   }),
                        0);
}

int32_t TrViewLib::FindChildFromTagWithSep(ObjectRef& trViewObj, int32_t parentIndexNode,
                                           const String& aTag, const String& aSeparator,
                                           int16_t thePos) {
  if (isBlank(aTag) || isBlank(aSeparator)) return 0;
  auto lastTag = std::make_shared<String>();
  return searchChildren(
      trViewObj, Variant(parentIndexNode),
      firstIndex(Descent::kNone, StartBy::kIndex, tagItemEquals(aTag, aSeparator, thePos, lastTag),
                 [&](const Variant&, int32_t) {
                   return u"Error on finding Node from his Tag with separator: \r\n\t" + aTag +
                          u"\t" + aSeparator + u"\t" + longToString(thePos) + u"\r\n\t" + *lastTag;
                 }),
      0);
}

int32_t TrViewLib::FindChildFromImageAndTag(ObjectRef& trViewObj, int32_t parentIndexNode,
                                            String& anImage, const String& aTag) {
  if (isBlank(anImage) || isBlank(aTag)) return 0;
  const NodeTest image = valueEquals<imageOf>(anImage);
  const NodeTest tag = valueEquals<tagOf>(aTag);
  return searchChildren(
      trViewObj, Variant(parentIndexNode),
      firstIndex(
          Descent::kNone, StartBy::kIndex, [&](const ObjectRef& c) { return image(c) && tag(c); },
          indexedMessage(u"Error on finding the Image/Tag Node: ", aTag)),
      0);
}

int32_t TrViewLib::FindChildFromImageAndTagWithSep(ObjectRef& trViewObj, int32_t parentIndexNode,
                                                   String& anImage, const String& aTag,
                                                   const String& aSeparator, int16_t thePos) {
  if (isBlank(anImage) || isBlank(aTag) || isBlank(aSeparator)) return 0;
  const NodeTest image = valueEquals<imageOf>(anImage);
  const NodeTest tagItem = tagItemEquals(aTag, aSeparator, thePos, std::make_shared<String>());
  return searchChildren(
      trViewObj, Variant(parentIndexNode),
      firstIndex(
          Descent::kNone, StartBy::kIndex,
          [&](const ObjectRef& c) { return image(c) && tagItem(c); },
          indexedMessage(u"Error on  finding the Image/Tag/Separator Node: ",
                         aTag + u"\t" + aSeparator + u"\r\n\t" + longToString(thePos))),
      0);
}

int32_t TrViewLib::FindChildFromImage(ObjectRef& trViewObj, int32_t parentIndexNode,
                                      const String& anImage, bool searchInSubChlid) {
  if (isBlank(anImage)) return 0;
  return searchChildren(trViewObj, Variant(parentIndexNode),
                        firstIndex(orDirect(searchInSubChlid, Descent::kDepthFirst),
                                   StartBy::kIndex, valueEquals<imageOf>(anImage),
                                   indexedMessage(u"Error on finding the Image Node: ", anImage)),
                        0);
}

int32_t TrViewLib::isExistInChildText(ObjectRef& trViewObj, const String& parentKeyNode,
                                      const String& aText, bool recursiveFind, bool findUcase) {
  return searchChildren(trViewObj, Variant(parentKeyNode),
                        firstIndex(orDirect(recursiveFind, Descent::kSiblingsFirst), StartBy::kKey,
                                   valueTest<textOf>(TextTest(aText, true, findUcase)),
                                   indexedMessage(u"Error on isExist the text Node: ", aText)),
                        0);
}

}  // namespace zv::impl
