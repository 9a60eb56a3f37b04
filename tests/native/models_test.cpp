// The models' keyed 1-based collections, reached late-bound as the library reaches a caller's
// control: the controls' error numbers, and positions and keys after a removal. (The single
// calls on the models are rows of tests/cases/models/models.tsv.)
#include <gtest/gtest.h>

#include <functional>

#include "frame/classes.h"
#include "runtime/convert.h"
#include "test_support.h"

using zv::Arg;
using zv::ObjectRef;
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
int32_t count(const ObjectRef& coll) {
  return zv::toLong(zv::get(coll, u"Count"));
}
ObjectRef item(const ObjectRef& coll, Variant index) {
  return obj(zv::call(coll, u"Item", {std::move(index)}));
}
// Add by the parameter name every collection shares.
ObjectRef add(const ObjectRef& coll, Variant key) {
  zv::Args args;
  args.push_back(Arg(std::move(key)).named(u"Key"));
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

}  // namespace
