// The library's Collection, reached late-bound as callers reach it: 1-based items,
// case-insensitive keys, Before/After insertion, and VB's error numbers.
#include <gtest/gtest.h>

#include <vector>

#include "frame/classes.h"
#include "runtime/convert.h"
#include "runtime/object.h"
#include "test_support.h"

using zv::Arg;
using zv::Args;
using zv::String;
using zv::Variant;
using zvtest::caught;
using zvtest::errorOf;

namespace {

class CollectionTest : public testing::Test {
 protected:
  void add(Variant item, Args more = {}) {
    more.insert(more.begin(), Arg(std::move(item)));
    zv::call(coll_, u"Add", std::move(more));
  }
  int32_t count() { return zv::toLong(zv::get(coll_, u"Count")); }
  Variant item(Variant index) { return zv::call(coll_, u"Item", {Arg(std::move(index))}); }
  String text(Variant index) { return zv::toString(item(std::move(index))); }
  void remove(Variant index) { zv::call(coll_, u"Remove", {Arg(std::move(index))}); }
  // The items in order, as For Each sees them.
  std::vector<String> texts() {
    std::vector<String> out;
    for (const Variant& v : coll_->enumerate())
      out.push_back(zv::toString(v));
    return out;
  }

  zv::ObjectRef coll_ = zv::createModel(u"Collection");
};

using Texts = std::vector<String>;

// Objects held by reference and Add's keys and places from Python (test_models.py); here the
// positions, Count read-only and the required index and item.
TEST_F(CollectionTest, IsOneBased) {
  EXPECT_EQ(count(), 0);
  add(Variant(u"a"));
  add(Variant(int32_t{2}));
  add(Variant(u"c"));
  EXPECT_EQ(count(), 3);
  EXPECT_EQ(text(Variant(int32_t{1})), u"a");
  EXPECT_EQ(item(Variant(int16_t{2})).type(), zv::VarType::Long);
  EXPECT_EQ(text(Variant(3.0)), u"c");
  EXPECT_EQ(errorOf([&] { item(Variant(int32_t{0})); }), zv::err::kSubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { item(Variant(int32_t{4})); }), zv::err::kSubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { item(Variant(int32_t{-1})); }), zv::err::kSubscriptOutOfRange);
  EXPECT_EQ(texts(), (Texts{u"a", u"2", u"c"}));
  EXPECT_EQ(errorOf([&] { zv::put(coll_, u"Count", Variant(int32_t{3})); }),
            zv::err::kNotSupported);
  EXPECT_EQ(errorOf([&] { zv::call(coll_, u"Item"); }), zv::err::kArgNotOptional);
  EXPECT_EQ(errorOf([&] { zv::call(coll_, u"Add"); }), zv::err::kArgNotOptional);
}

TEST_F(CollectionTest, KeysAreCaseInsensitiveTexts) {
  add(Variant(u"first"), {Arg(Variant(u"Alpha"))});
  add(Variant(u"second"), {Arg(Variant(u"\u00E9t\u00E9"))});
  EXPECT_EQ(text(Variant(u"ALPHA")), u"first");
  EXPECT_EQ(text(Variant(u"\u00C9T\u00C9")), u"second");
  const auto e = caught([&] { add(Variant(u"x"), {Arg(Variant(u"aLPHA"))}); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->number(), zv::err::kDuplicateKey);
  EXPECT_EQ(e->description(), u"This key is already associated with an element of this collection");
  EXPECT_EQ(e->source(), u"ZivoviViruvov");
  // A missing key, a key that is a number text, a key that is not a string.
  EXPECT_EQ(errorOf([&] { item(Variant(u"nope")); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([&] { item(Variant(u"1")); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([&] { add(Variant(u"b"), {Arg(Variant(int32_t{7}))}); }),
            zv::err::kTypeMismatch);
  EXPECT_EQ(count(), 2);
}

// Before and After, by position or key, given in their places or by name.
TEST_F(CollectionTest, BeforeAndAfter) {
  add(Variant(u"b"), {Arg(Variant(u"kb"))});
  add(Variant(u"a"), {Arg(Variant::missing()), Arg(Variant(int32_t{1}))});
  add(Variant(u"d"), {Arg(Variant::missing()), Arg(Variant::missing()), Arg(Variant(u"KB"))});
  add(Variant(u"c"), {Arg(Variant(u"KB")).named(u"after")});
  add(Variant(u"0"), {Arg(Variant(int32_t{1})).named(u"Before")});
  add(Variant(u"z"), {Arg(Variant(int32_t{5})).named(u"After")});
  EXPECT_EQ(texts(), (Texts{u"0", u"a", u"b", u"c", u"d", u"z"}));
  EXPECT_EQ(text(Variant(u"kb")), u"b");
  EXPECT_EQ(errorOf([&] {
              add(Variant(u"x"), {Arg(Variant(int32_t{1})).named(u"after"),
                                  Arg(Variant(int32_t{1})).named(u"AFTER")});
            }),
            zv::err::kWrongArgCount);
  EXPECT_EQ(errorOf([&] {
              add(Variant(u"x"), {Arg(Variant(int32_t{1})).named(u"Before"),
                                  Arg(Variant(int32_t{1})).named(u"After")});
            }),
            zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([&] { add(Variant(u"x"), {Arg(Variant(int32_t{9})).named(u"Before")}); }),
            zv::err::kSubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { add(Variant(u"x"), {Arg(Variant(u"none")).named(u"After")}); }),
            zv::err::kInvalidCall);
  EXPECT_EQ(count(), 6);
}

TEST_F(CollectionTest, RemoveByPositionAndKeyFreesTheKey) {
  add(Variant(u"a"), {Arg(Variant(u"ka"))});
  add(Variant(u"b"), {Arg(Variant(u"kb"))});
  add(Variant(u"c"));
  remove(Variant(int32_t{2}));
  EXPECT_EQ(texts(), (Texts{u"a", u"c"}));
  EXPECT_EQ(errorOf([&] { item(Variant(u"kb")); }), zv::err::kInvalidCall);
  remove(Variant(u"KA"));
  EXPECT_EQ(texts(), (Texts{u"c"}));
  add(Variant(u"a2"), {Arg(Variant(u"ka"))});
  EXPECT_EQ(text(Variant(u"ka")), u"a2");
  EXPECT_EQ(errorOf([&] { remove(Variant(int32_t{3})); }), zv::err::kSubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { remove(Variant(u"none")); }), zv::err::kInvalidCall);
  EXPECT_EQ(count(), 2);
}

}  // namespace
