// The direct children of a tree-view node as list-view rows: the child's text, optionally
// its image, and a second column from a node found below it by image or from its tag.
#include <functional>
#include <optional>

#include "api/StrChr.h"
#include "api/TrViewLib.h"
#include "frame/traps.h"
#include "listview/LstViewLib.h"
#include "listview/list_view_access.h"
#include "runtime/convert.h"
#include "treeview/tree_links.h"

namespace zv::impl {

namespace lv = listview;
namespace tv = treeview;

namespace {

// The second column of a child's row; nothing leaves it as it is.
using SecondColumn =
    std::function<std::optional<String>(const ObjectRef& nodes, const ObjectRef& child)>;

// One row per child that `takes` accepts, visited in the tree's sibling order. The second
// column is filled only when the list-view has more than one header. The report names the
// rows added and the child reached.
bool loadFromChildren(ObjectRef& view, ObjectRef& tree, int32_t parentIndex, bool replace,
                      bool useImage, const std::function<bool(const ObjectRef&)>& takes,
                      const SecondColumn& second, StringView failure) {
  bool result = false;
  if (!view || !tree || parentIndex <= 0) return result;
  int32_t added = 0, reached = 0;
  reportAndReturn(
      [&] {
        const ObjectRef nodes = tv::nodesOf(tree);
        const int32_t count = tv::countOf(nodes);
        if (count < 1 || parentIndex > count) return;
        const ObjectRef parent = tv::itemOf(nodes, Variant(parentIndex));
        if (!parent || tv::childrenOf(parent) == 0) return;
        const ObjectRef rows = lv::rowsOf(view);
        if (replace) call(rows, u"Clear");
        const bool twoColumns = lv::countOf(lv::headersOf(view)) > 1;
        tv::WalkBudget budget(count, 1);
        tv::SiblingWalk walk(parent, budget);
        for (ObjectRef child; (child = walk.next());) {
          reached = walk.indexReached();
          if (!takes(child)) continue;
          const ObjectRef row = lv::addRow(rows, {}, trim(tv::textOf(child)));
          ++added;
          if (useImage) {
            const Variant image = get(child, u"Image");
            put(row, u"Icon", image);
            put(row, u"SmallIcon", image);
          }
          put(row, u"Tag", Variant(tv::indexOf(child)));
          if (!twoColumns) continue;
          if (const auto text = second(nodes, child))
            put(row, u"SubItems", Variant(*text), {Variant(int16_t{1})});
        }
        result = true;
      },
      [&] { return String(failure) + longToString(added) + u" / " + longToString(reached); });
  return result;
}

}  // namespace

bool LstViewLib::LoadListViewFromChildNode(ObjectRef& theListView, ObjectRef& theTreeView,
                                           int32_t& parentIndexNode, bool& flagReplace,
                                           bool& flagUseTag, String& addChildNodeFromImage,
                                           bool& useImage) {
  auto trees = TrViewLib::create();
  return loadFromChildren(
      theListView, theTreeView, parentIndexNode, flagReplace, useImage,
      [](const ObjectRef&) { return true; },
      [&](const ObjectRef& nodes, const ObjectRef& child) -> std::optional<String> {
        if (addChildNodeFromImage.empty()) return std::nullopt;
        const int32_t found =
            trees->FindChildFromImage(theTreeView, tv::indexOf(child), addChildNodeFromImage, true);
        if (found <= 0) return std::nullopt;
        const ObjectRef node = tv::itemOf(nodes, Variant(found));
        return trim(flagUseTag ? tv::tagOf(node) : tv::textOf(node));
      },
      u"Error on loading ListView from Node list: ");
}

bool LstViewLib::LoadListViewFromChildNodeAndTag(ObjectRef& theListView, ObjectRef& theTreeView,
                                                 int32_t& parentIndexNode,
                                                 bool& onlyChildWithoutChild, bool& flagReplace,
                                                 bool& useSeparator, bool& useImage) {
  auto str = StrChr::create();
  return loadFromChildren(
      theListView, theTreeView, parentIndexNode, flagReplace, useImage,
      [&](const ObjectRef& child) { return !onlyChildWithoutChild || tv::childrenOf(child) == 0; },
      [&](const ObjectRef&, const ObjectRef& child) -> std::optional<String> {
        const String tag = tv::tagOf(child);
        return trim(useSeparator ? str->GetLeft(tag, u"]#[", false) : tag);
      },
      u"Error on loading ListView from Node and Tag list: ");
}

}  // namespace zv::impl
