// The members that search the whole tree by index, the ancestors of a node, a node's place
// among its siblings and a key anywhere in the tree.
#include "api/StrChr.h"
#include "frame/traps.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "treeview/TrViewLib.h"
#include "treeview/tree_links.h"

namespace zv::impl {

using namespace treeview;

namespace {

// The first of nodes 1 to Count passing `test`; nullptr when none does.
ObjectRef firstInTree(const ObjectRef& tree, const NodeTest& test) {
  if (!tree) return nullptr;
  const ObjectRef nodes = nodesOf(tree);
  const int32_t count = countOf(nodes);
  for (int32_t i = 1; i <= count; ++i) {
    ObjectRef node = itemOf(nodes, Variant(i));
    if (test(node)) return node;
  }
  return nullptr;
}

// What `give` reads of the first node passing `test`, `Result()` when none does.
template <class Result>
Result ofFirstInTree(const ObjectRef& tree, const NodeTest& test, Result (*give)(const ObjectRef&),
                     const String& message) {
  Result result{};
  reportAndReturn(
      [&] {
        if (const ObjectRef node = firstInTree(tree, test)) result = give(node);
      },
      message);
  return result;
}

template <String (*Read)(const ObjectRef&)>
NodeTest valueNodeTest(String searched, bool contains) {
  return [test = TextTest(searched, contains, false)](const ObjectRef& n) { return test(Read(n)); };
}

}  // namespace

String TrViewLib::SearchNodeFromImage(ObjectRef& trViewObj, String& anImage) {
  if (isBlank(anImage)) return String();
  return ofFirstInTree(trViewObj, valueNodeTest<imageOf>(anImage, false), keyOf,
                       u"Error on searching Node from his Image");
}

String TrViewLib::SearchNodeFromTag(ObjectRef& trViewObj, const String& aTag) {
  if (isBlank(aTag)) return String();
  return ofFirstInTree(trViewObj, valueNodeTest<tagOf>(aTag, false), keyOf,
                       u"Error on searching Node from his Tag information");
}

String TrViewLib::SearchNodeFromText(ObjectRef& trViewObj, const String& aText) {
  if (isBlank(aText)) return String();
  return ofFirstInTree(trViewObj, valueNodeTest<textOf>(aText, false), keyOf,
                       u"Error on searching Node from the Text: " + aText);
}

int32_t TrViewLib::FindNodeFromText(ObjectRef& trViewObj, const String& aText) {
  if (isBlank(aText)) return 0;
  return ofFirstInTree(trViewObj, valueNodeTest<textOf>(aText, false), indexOf,
                       u"Error on finding Node from the Text: " + aText);
}

int32_t TrViewLib::FindNodeFromImage(ObjectRef& trViewObj, String& anImage) {
  if (isBlank(anImage)) return 0;
  return ofFirstInTree(trViewObj, valueNodeTest<imageOf>(anImage, false), indexOf,
                       u"Error on finding Node from his Image");
}

int32_t TrViewLib::FindNodeFromSelectedImage(ObjectRef& trViewObj, String& aSelectedImage) {
  if (isBlank(aSelectedImage)) return 0;
  return ofFirstInTree(trViewObj, valueNodeTest<selectedImageOf>(aSelectedImage, false), indexOf,
                       u"Error on finding Node from his selected Image");
}

int32_t TrViewLib::FindNodeFromImageAndSelected(ObjectRef& trViewObj, String& anImage,
                                                String& aSelectedImage) {
  if (isBlank(anImage)) return 0;
  const NodeTest image = valueNodeTest<imageOf>(anImage, false);
  const NodeTest selected = valueNodeTest<selectedImageOf>(aSelectedImage, false);
  return ofFirstInTree(
      trViewObj, [&](const ObjectRef& n) { return image(n) && selected(n); }, indexOf,
      u"Error on finding Node from his Image and selected Image");
}

int32_t TrViewLib::FindNodeFromTag(ObjectRef& trViewObj, const String& aTag) {
  if (isBlank(aTag)) return 0;
  return ofFirstInTree(trViewObj, valueNodeTest<tagOf>(aTag, false), indexOf,
                       u"Error on finding Node from his Tag information");
}

int32_t TrViewLib::isExistInNodeText(ObjectRef& trViewObj, const String& aText) {
  if (isBlank(aText)) return 0;
  return ofFirstInTree(trViewObj, valueNodeTest<textOf>(aText, true), indexOf,
                       u"Error on searching Node with the Text: " + aText);
}

String TrViewLib::SearchParentFromImage(ObjectRef& trViewObj, const String& theKeyNode,
                                        const String& anImage, bool ifOnlyExist, bool findUcase) {
  String result;
  if (!trViewObj || isBlank(theKeyNode) || isBlank(anImage)) return result;
  reportAndReturn(
      [&] {
        const ObjectRef nodes = nodesOf(trViewObj);
        const int32_t count = countOf(nodes);
        if (count < 1) return;
        const ObjectRef node = itemOf(nodes, Variant(theKeyNode));
        if (!node) return;
        const TextTest test(anImage, ifOnlyExist, findUcase);
        WalkBudget budget(count, 1);
        for (ObjectRef up = parentOf(node); up; up = parentOf(up)) {
          budget.spend(1);
          if (test(imageOf(up))) {
            result = keyOf(up);
            return;
          }
        }
      },
      [&] {
        return u"Error on searching parent from Image Node\r\n\t" + theKeyNode + u"\r\n\t" +
               anImage;
      });
  return result;
}

int32_t TrViewLib::GetChildPosition(ObjectRef& theMainTree, const String& theKeyNode) {
  int32_t result = 1;
  if (!theMainTree || isBlank(theKeyNode)) return result;
  reportAndReturn(
      [&] {
        const ObjectRef nodes = nodesOf(theMainTree);
        const int32_t count = countOf(nodes);
        if (count < 1) return;
        const ObjectRef node = itemOf(nodes, Variant(theKeyNode));
        const ObjectRef parent = node ? parentOf(node) : nullptr;
        if (!parent) return;
        WalkBudget budget(count, 1);
        SiblingWalk walk(parent, budget);
        for (int32_t position = 1;; ++position) {
          const ObjectRef child = walk.next();
          // Past the last sibling without meeting the node: as reading a Next of Nothing.
          if (!child) raise(err::kObjectNotSet);
          result = position;
          if (keyOf(child) == theKeyNode) return;
        }
      },
      u"Error on get Child Node position");
  return result;
}

bool TrViewLib::isNodeKeyExist(ObjectRef& theMainTree, const String& theNodeKey,
                               int32_t& theIndex) {
  bool result = false;
  if (!theMainTree || isBlank(theNodeKey)) return result;
  returnOnly([&] {
    const String spaced = replaceAll(theNodeKey, u" ", u"_");
    const String plain = StrChr::create()->RemoveAccent(spaced);
    const ObjectRef nodes = nodesOf(theMainTree);
    const int32_t count = countOf(nodes);
    for (int32_t i = 1; i <= count; ++i) {
      const String key = keyOf(itemOf(nodes, Variant(i)));
      if (key == spaced || (plain != spaced && key == plain)) {
        theIndex = i;
        result = true;
        return;
      }
    }
  });
  return result;
}

}  // namespace zv::impl
