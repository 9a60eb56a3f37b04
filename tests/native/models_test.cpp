// The models of the common controls, reached late-bound as the library reaches a caller's
// control: keyed 1-based collections with the controls' error numbers, sub-items made on
// first write, tree relationships, image checks and grid bounds.
#include <gtest/gtest.h>

#include <functional>

#include "frame/classes.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::Arg;
using zv::ObjectRef;
using zv::String;
using zv::Variant;
using zvtest::errorOf;

namespace {

Variant n(int32_t value) {
  return Variant(value);
}
ObjectRef obj(const Variant& v) {
  return zv::toObject(v);
}
ObjectRef part(const ObjectRef& owner, const char16_t* name) {
  return obj(zv::get(owner, name));
}
String text(const ObjectRef& o) {
  return zv::toString(zv::get(o, u"Text"));
}
int32_t count(const ObjectRef& coll) {
  return zv::toLong(zv::get(coll, u"Count"));
}
ObjectRef item(const ObjectRef& coll, Variant index) {
  return obj(zv::call(coll, u"Item", {std::move(index)}));
}
// Add by the parameter names every collection shares.
ObjectRef add(const ObjectRef& coll, Variant key, const char16_t* label = nullptr) {
  zv::Args args;
  args.push_back(Arg(std::move(key)).named(u"Key"));
  if (label) args.push_back(Arg(Variant(label)).named(u"Text"));
  return obj(zv::call(coll, u"Add", std::move(args)));
}

ObjectRef listWithHeaders(int columns) {
  ObjectRef lv = zv::createModel(u"ListView");
  for (int i = 0; i < columns; ++i)
    add(part(lv, u"ColumnHeaders"), Variant());
  return lv;
}

TEST(Models, KeyedCollectionsFailAsTheControlsDo) {
  const std::pair<const char*, std::function<ObjectRef()>> collections[] = {
      {"ColumnHeaders", [] { return part(zv::createModel(u"ListView"), u"ColumnHeaders"); }},
      {"ListItems", [] { return part(zv::createModel(u"ListView"), u"ListItems"); }},
      {"ListSubItems",
       [] {
         return part(add(part(listWithHeaders(2), u"ListItems"), Variant()), u"ListSubItems");
       }},
      {"Nodes", [] { return part(zv::createModel(u"TreeView"), u"Nodes"); }},
      {"ListImages", [] { return part(zv::createModel(u"ImageList"), u"ListImages"); }}};
  for (const auto& [name, make] : collections) {
    SCOPED_TRACE(name);
    ObjectRef coll = make();
    add(coll, Variant(u"a"));
    add(coll, Variant());
    add(coll, Variant(u"c"));
    const struct {
      std::function<void()> call;
      int32_t error;
    } cases[] = {
        {[&] { add(coll, Variant(u"a")); }, 35602},
        {[&] { add(coll, n(7)); }, 35603},
        {[&] { item(coll, Variant(u"A")); }, 35601},  // keys keep their case
        {[&] { item(coll, n(0)); }, 35600},
        {[&] { item(coll, n(4)); }, 35600},
        {[&] { zv::call(coll, u"Remove", {Variant(u"zz")}); }, 35601},
        {[&] { zv::put(item(coll, n(1)), u"Key", Variant(u"c")); }, 35602},
    };
    for (const auto& c : cases)
      EXPECT_EQ(errorOf(c.call), c.error);
    EXPECT_EQ(count(coll), 3);
    // Removal shifts the later positions; keys still find their element.
    zv::call(coll, u"Remove", {n(1)});
    ObjectRef c = item(coll, Variant(u"c"));
    EXPECT_EQ(zv::toLong(zv::get(c, u"Index")), 2);
    zv::put(c, u"Key", Variant(u"a"));  // the removed element's key is free again
    EXPECT_EQ(item(coll, Variant(u"a")), c);
    zv::call(coll, u"Clear");
    EXPECT_EQ(count(coll), 0);
  }
}

TEST(ListViewModel, SubItemsAreMadeOnFirstWriteWithinTheColumns) {
  ObjectRef lv = listWithHeaders(4);
  ObjectRef row = add(part(lv, u"ListItems"), Variant(), u"row");
  EXPECT_EQ(zv::toString(zv::get(row, u"SubItems", {n(3)})), u"");
  EXPECT_EQ(count(part(row, u"ListSubItems")), 0);
  zv::put(row, u"SubItems", Variant(u"third"), {n(2)});
  EXPECT_EQ(count(part(row, u"ListSubItems")), 2);
  EXPECT_EQ(text(item(part(row, u"ListSubItems"), n(2))), u"third");
  for (int16_t bad : {0, 4, -1}) {
    EXPECT_EQ(errorOf([&] { zv::get(row, u"SubItems", {Variant(bad)}); }), 380);
    EXPECT_EQ(errorOf([&] { zv::put(row, u"SubItems", Variant(u"x"), {Variant(bad)}); }), 380);
  }
  EXPECT_EQ(errorOf([&] { zv::put(row, u"SubItems", Variant(u"x"), {n(32768)}); }), 6);
  EXPECT_EQ(errorOf([&] { item(part(row, u"ListSubItems"), n(3)); }), 35600);
  // A removed header takes its column with it; later columns move down.
  zv::put(row, u"SubItems", Variant(u"fourth"), {n(3)});
  zv::call(part(lv, u"ColumnHeaders"), u"Remove", {n(3)});
  EXPECT_EQ(zv::toString(zv::get(row, u"SubItems", {n(2)})), u"fourth");
  EXPECT_EQ(count(part(row, u"ListSubItems")), 2);
}

TEST(ListViewModel, FirstColumnAndColoursRefuseBadValues) {
  ObjectRef headers = part(listWithHeaders(0), u"ColumnHeaders");
  const Variant m = Variant::missing();
  EXPECT_EQ(errorOf([&] { zv::call(headers, u"Add", {m, m, Variant(u"A"), m, n(1)}); }), 380);
  EXPECT_EQ(count(headers), 0);
  ObjectRef first = add(headers, Variant());
  ObjectRef second = obj(zv::call(headers, u"Add", {m, m, Variant(u"B"), n(900), n(2)}));
  EXPECT_EQ(errorOf([&] { zv::put(first, u"Alignment", n(1)); }), 380);
  EXPECT_EQ(errorOf([&] { zv::put(second, u"Alignment", n(3)); }), 380);
  EXPECT_EQ(zv::toDouble(zv::get(second, u"Width")), 900);
  ObjectRef row = add(part(listWithHeaders(1), u"ListItems"), Variant());
  for (int32_t color : {0, 0xFFFFFF, static_cast<int32_t>(0x80000005)})
    EXPECT_EQ(errorOf([&] { zv::put(row, u"ForeColor", n(color)); }), 0);
  for (int32_t color : {0x1000000, -1})
    EXPECT_EQ(errorOf([&] { zv::put(row, u"ForeColor", n(color)); }), 380);
}

// The tree's shape in one line: each root, and in brackets its children.
String shape(const ObjectRef& first) {
  String out;
  for (ObjectRef node = first; node; node = obj(zv::get(node, u"Next"))) {
    out += text(node);
    if (zv::toLong(zv::get(node, u"Children")) > 0)
      out += u"(" + shape(part(node, u"Child")) + u")";
    if (obj(zv::get(node, u"Next"))) out += u" ";
  }
  return out;
}

class TreeViewModel : public testing::Test {
 protected:
  ObjectRef addNode(Variant relative, Variant relationship, const char16_t* key) {
    return obj(
        zv::call(nodes_, u"Add",
                 {std::move(relative), std::move(relationship), Variant(key), Variant(key)}));
  }
  String tree() { return shape(obj(zv::get(item(nodes_, n(1)), u"FirstSibling"))); }

  ObjectRef view_ = zv::createModel(u"TreeView");
  ObjectRef nodes_ = part(view_, u"Nodes");
};

TEST_F(TreeViewModel, RelationshipsPlaceNodesAndRemoveTakesTheSubtree) {
  const Variant m = Variant::missing();
  addNode(m, m, u"r");
  addNode(Variant(u"r"), n(4), u"c");
  addNode(Variant(u"c"), m, u"next");  // a relative alone means tvwNext
  addNode(Variant(u"c"), n(3), u"prev");
  addNode(Variant(u"c"), n(0), u"first");
  addNode(Variant(u"c"), n(1), u"last");
  addNode(m, n(0), u"top");
  EXPECT_EQ(tree(), u"top r(first prev c next last)");
  EXPECT_EQ(zv::toLong(zv::get(item(nodes_, Variant(u"top")), u"Index")), 7);
  ObjectRef c = item(nodes_, Variant(u"c"));
  EXPECT_EQ(text(part(c, u"Parent")), u"r");
  EXPECT_EQ(text(part(c, u"FirstSibling")), u"first");
  EXPECT_EQ(text(part(c, u"LastSibling")), u"last");
  EXPECT_EQ(text(part(part(c, u"Parent"), u"Root")), u"r");
  EXPECT_FALSE(obj(zv::get(part(c, u"Parent"), u"Parent")));
  EXPECT_EQ(errorOf([&] { addNode(Variant(u"c"), n(5), u"bad"); }), 5);
  EXPECT_EQ(errorOf([&] { addNode(Variant(u"nope"), n(4), u"bad"); }), 35601);
  EXPECT_EQ(count(nodes_), 7);
  zv::call(nodes_, u"Remove", {Variant(u"r")});  // its five children go with it
  EXPECT_EQ(tree(), u"top");
  EXPECT_EQ(zv::toLong(zv::get(item(nodes_, Variant(u"top")), u"Index")), 1);
  EXPECT_EQ(errorOf([&] { item(nodes_, Variant(u"c")); }), 35601);
  addNode(m, m, u"c");  // the removed keys are free again
}

TEST_F(TreeViewModel, ImagesNameEntriesOfTheImageList) {
  const Variant m = Variant::missing();
  auto withImage = [&](Variant image) {
    zv::call(nodes_, u"Add", {m, m, m, Variant(u"x"), std::move(image)});
  };
  EXPECT_EQ(errorOf([&] { withImage(Variant(u"folder")); }), 35613);
  ObjectRef images = zv::createModel(u"ImageList");
  add(part(images, u"ListImages"), Variant(u"folder"));
  zv::putRef(view_, u"ImageList", images);
  EXPECT_EQ(errorOf([&] { withImage(Variant(u"folder")); }), 0);
  EXPECT_EQ(errorOf([&] { withImage(n(1)); }), 0);
  EXPECT_EQ(errorOf([&] { withImage(Variant(u"file")); }), 35601);
  EXPECT_EQ(errorOf([&] { withImage(n(2)); }), 35600);
  EXPECT_EQ(count(nodes_), 2);
}

TEST(FlexGridModel, CellsAndFormatString) {
  ObjectRef grid = zv::createModel(u"FlexGrid");
  zv::put(grid, u"TextMatrix", Variant(u"x"), {n(1), n(1)});
  EXPECT_EQ(errorOf([&] { zv::get(grid, u"TextMatrix", {n(2), n(0)}); }), 381);
  EXPECT_EQ(errorOf([&] { zv::put(grid, u"Rows", n(0)); }), 380);  // below FixedRows
  zv::put(grid, u"FormatString", Variant(u"^Name|<Town|>Amount"));
  EXPECT_EQ(zv::toLong(zv::get(grid, u"Cols")), 3);
  EXPECT_EQ(zv::toString(zv::get(grid, u"TextMatrix", {n(0), n(2)})), u"Amount");
  EXPECT_EQ(zv::toLong(zv::get(grid, u"ColAlignment", {n(0)})), 4);
  EXPECT_EQ(zv::toString(zv::get(grid, u"TextMatrix", {n(1), n(1)})), u"x");
  zv::call(grid, u"Clear");
  EXPECT_EQ(zv::toString(zv::get(grid, u"TextMatrix", {n(1), n(1)})), u"");
}

}  // namespace
