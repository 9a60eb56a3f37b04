// The members that count children by image and join their tags.
#include "runtime/convert.h"
#include "treeview/TrViewLib.h"
#include "treeview/child_search.h"

namespace zv::impl {

using namespace treeview;

namespace {

// Children whose `Read` value is `image` (containing it, in any case, when `acceptSimilar`),
// with those of their subtrees when `countInSubChild`.
template <String (*Read)(const ObjectRef&)>
int32_t countChildren(const ObjectRef& tree, const ObjectRef& node, const String& image,
                      bool acceptSimilar, bool countInSubChild, const String& prefix) {
  if (!node || isBlank(image)) return 0;
  const NodeTest test = valueTest<Read>(TextTest(image, acceptSimilar, acceptSimilar));
  const ChildSearch<int32_t> search{
      countInSubChild ? Descent::kDepthFirst : Descent::kNone, StartBy::kNode,
      [&](int32_t& held, const ObjectRef& child) {
        if (test(child)) ++held;
        return false;
      },
      [](int32_t& held, int32_t inner) {
        held += inner;
        return false;
      },
      [&](const Variant&, int32_t) {
        return prefix + image + u"\t" + booleanToString(acceptSimilar) + u"\t" +
               booleanToString(countInSubChild);
      }};
  return searchChildren(tree, Variant(node), search, 0);
}

// The tags of the children passing `test`, joined by `separator`: a tag goes alone while
// the result is still empty.
String joinTags(const ObjectRef& tree, int32_t parentIndex, const String& separator,
                const NodeTest& test, const String& message) {
  const ChildSearch<String> search{Descent::kNone, StartBy::kIndex,
                                   [&](String& held, const ObjectRef& child) {
                                     if (!test(child)) return false;
                                     const String tag = tagOf(child);
                                     if (held.empty())
                                       held = tag;
                                     else
                                       held.append(separator).append(tag);
                                     return false;
                                   },
                                   nullptr, [&](const Variant&, int32_t) { return message; }};
  return searchChildren(tree, Variant(parentIndex), search, String());
}

}  // namespace

int32_t TrViewLib::CountChildFromImage(ObjectRef& theMainTree, ObjectRef& theMainNode,
                                       const String& theImage, bool acceptSimilar,
                                       bool countInSubChild) {
  return countChildren<imageOf>(theMainTree, theMainNode, theImage, acceptSimilar, countInSubChild,
                                u"Error on count the sub Node image: ");
}

int32_t TrViewLib::CountChildFromSelectedImage(ObjectRef& theMainTree, ObjectRef& theMainNode,
                                               const String& theImage, bool acceptSimilar,
                                               bool countInSubChild) {
  return countChildren<selectedImageOf>(theMainTree, theMainNode, theImage, acceptSimilar,
                                        countInSubChild,
                                        u"Error on count the sub Node selected image: ");
}

String TrViewLib::GetAllTagFromChild(ObjectRef& theMainTree, int32_t theParentIndex,
                                     const String& theSeparator) {
  return joinTags(
      theMainTree, theParentIndex, theSeparator, [](const ObjectRef&) { return true; },
      u"Error on getting Tag Node from index: " + longToString(theParentIndex));
}

String TrViewLib::GetAllTagFromChildWithImage(ObjectRef& theMainTree, int32_t theParentIndex,
                                              const String& theImage, const String& theSeparator) {
  return joinTags(theMainTree, theParentIndex, theSeparator, valueEquals<imageOf>(theImage),
                  u"Error on getting Tag Node with Image: " + theImage);
}

}  // namespace zv::impl
