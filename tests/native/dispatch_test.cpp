// Late-bound calls through invoke: creation by ProgID, argument binding (positional, named,
// optional, Missing), coercion, by-reference write-back, the binding errors, the errors a
// method raises, and properties of the control models.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "api/StrChr.h"
#include "frame/classes.h"
#include "runtime/convert.h"
#include "runtime/object.h"
#include "test_support.h"

using zv::Arg;
using zv::Args;
using zv::ObjectRef;
using zv::String;
using zv::Variant;
using zvtest::caught;
using zvtest::errorOf;

namespace {

// A StrChr whose members report how they were bound.
class ProbeStrChr : public zv::StrChr {
 public:
  String GetLeft(const String& theString, const String& theSeperator,
                 bool separatorMustExist) override {
    return theString + u"|" + theSeperator + u"|" + (separatorMustExist ? u"T" : u"F");
  }
  String GetRightCount(const String&, const String&, int16_t thePosition, bool) override {
    return zv::longToString(thePosition);
  }
  int32_t String2Long(String& theString) override {
    theString += u"!";
    return static_cast<int32_t>(theString.size());
  }
  bool TextBoxCounter(ObjectRef& theTextBox, int32_t& nbChar, int32_t& nbWord,
                      int32_t& nbBlank) override {
    nbChar += 10;
    nbWord = 2;
    nbBlank = -1;
    theTextBox = zv::createModel(u"TextBox");
    zv::put(theTextBox, u"Text", Variant(u"replaced"));
    return true;
  }
  int16_t isStringExistInList(Variant& theStringListe, const String& stringCompare,
                              bool& upperCompare) override {
    theStringListe.arrayValue().at(0) = Variant(stringCompare);
    upperCompare = !upperCompare;
    return upperCompare ? 1 : 0;
  }
  int32_t CountItem(const String& theString, const String&) override {
    if (theString == u"alloc") throw std::bad_alloc();
    throw std::runtime_error("boom");
  }
  String Long2String(int32_t) override { zv::raise(zv::err::kInvalidCall); }
};

class DispatchTest : public testing::Test {
 protected:
  void SetUp() override { zv::clearPendingError(); }

  Variant callProbe(zv::StringView name, Args args) {
    return probe_->invoke(name, zv::kMethod | zv::kPropertyGet, args);
  }

  ObjectRef probe_ = std::make_shared<ProbeStrChr>();
  ObjectRef fileLib_ = zv::createObject(u"ZivoviViruvov.FileLib");
};

TEST(Creation, ByProgIdOrClsid) {
  const ObjectRef byProgId = zv::createObject(u"zivoviviruvov.filelib");
  ASSERT_NE(byProgId, nullptr);
  EXPECT_EQ(byProgId->typeName(), u"FileLib");
  const ObjectRef byClsid = zv::createObject(u"{0d0802ee-d1ba-43dd-bc57-0cc901e420ee}");
  ASSERT_NE(byClsid, nullptr);
  EXPECT_EQ(byClsid->typeName(), u"FileLib");
  EXPECT_NE(byProgId, byClsid);
}

TEST(Creation, UnknownOrPrivateClassesAreRefused) {
  const auto unknown = caught([] { zv::createObject(u"ZivoviViruvov.Nope"); });
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->number(), 429);
  EXPECT_EQ(unknown->description(), u"ActiveX component can't create object: ZivoviViruvov.Nope");
  EXPECT_EQ(errorOf([] { zv::createObject(u"ZivoviViruvov.COpSysInfo"); }), 429);
  EXPECT_EQ(errorOf([] { zv::createObject(u"COpSysInfo"); }), 429);
  EXPECT_EQ(errorOf([] { zv::createObject(u""); }), 429);
  EXPECT_EQ(errorOf([] { zv::createModel(u"Form"); }), 429);
}

TEST_F(DispatchTest, PositionalAndCaseInsensitiveNames) {
  EXPECT_EQ(zv::call(fileLib_, u"CheckPath", {Arg(Variant(u"/tmp"))}).stringValue(), u"/tmp/");
  EXPECT_EQ(zv::call(fileLib_, u"CHECKPATH", {Arg(Variant(u"/a"))}).stringValue(), u"/a/");
  EXPECT_EQ(
      zv::call(fileLib_, u"uncheckpath", {Arg(Variant(u"/a/")).named(u"THEPATH")}).stringValue(),
      u"/a");
}

TEST_F(DispatchTest, OptionalDefaultsNamedAndMissing) {
  EXPECT_EQ(callProbe(u"GetLeft", {Arg(Variant(u"a")), Arg(Variant(u","))}).stringValue(),
            u"a|,|F");
  EXPECT_EQ(callProbe(u"GetLeft", {Arg(Variant(u"a")), Arg(Variant(u",")), Arg(Variant(true))})
                .stringValue(),
            u"a|,|T");
  // Named in any order and case, values coerced to the parameter types.
  EXPECT_EQ(callProbe(u"GetLeft", {Arg(Variant(u"-1")).named(u"SEPARATORMUSTEXIST"),
                                   Arg(Variant(u";")).named(u"theseperator"),
                                   Arg(Variant(int32_t{5})).named(u"theString")})
                .stringValue(),
            u"5|;|T");
  // A Missing argument is left out: the optional takes its default.
  EXPECT_EQ(callProbe(u"GetLeft", {Arg(Variant(u"a")), Arg(Variant(u",")), Arg(Variant::missing())})
                .stringValue(),
            u"a|,|F");
  EXPECT_EQ(zv::pendingError().number, 0);
}

TEST_F(DispatchTest, BindingErrors) {
  const auto unknown = caught([&] { callProbe(u"NoSuchMember", {}); });
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->number(), 438);
  EXPECT_EQ(unknown->description(),
            u"Object doesn't support this property or method: StrChr.NoSuchMember");
  EXPECT_EQ(unknown->source(), u"ZivoviViruvov.StrChr");

  EXPECT_EQ(errorOf([&] {
              callProbe(u"GetLeft", {Arg(Variant(u"a")), Arg(Variant(u"x")).named(u"sep")});
            }),
            zv::err::kNamedArgNotFound);
  EXPECT_EQ(errorOf([&] { callProbe(u"GetLeft", {Arg(Variant(u"a"))}); }),
            zv::err::kArgNotOptional);
  EXPECT_EQ(errorOf([&] {
              callProbe(u"GetLeft", {Arg(Variant(u"a")), Arg(Variant::missing())});
            }),
            zv::err::kArgNotOptional);
  EXPECT_EQ(errorOf([&] {
              callProbe(u"GetLeft", {Arg(Variant(u"a")), Arg(Variant(u",")), Arg(Variant(true)),
                                     Arg(Variant(true))});
            }),
            zv::err::kWrongArgCount);
  // A parameter passed twice: by position, then by name.
  EXPECT_EQ(errorOf([&] {
              callProbe(u"GetLeft", {Arg(Variant(u"a")), Arg(Variant(u",")),
                                     Arg(Variant(u"b")).named(u"theString")});
            }),
            zv::err::kWrongArgCount);
  EXPECT_EQ(errorOf([&] { zv::call(fileLib_, u"CheckPath", {}); }), zv::err::kArgNotOptional);
  EXPECT_EQ(zv::pendingError().number, 0);
}

TEST_F(DispatchTest, ArgumentCoercion) {
  const Args base = {Arg(Variant(u"s")), Arg(Variant(u","))};
  auto position = [&](Variant v) {
    Args args = base;
    args.emplace_back(std::move(v));
    return callProbe(u"GetRightCount", std::move(args));
  };
  EXPECT_EQ(position(Variant(u" 7 ")).stringValue(), u"7");
  EXPECT_EQ(position(Variant(2.5)).stringValue(), u"2");
  EXPECT_EQ(position(Variant(int32_t{32767})).stringValue(), u"32767");
  EXPECT_EQ(errorOf([&] { position(Variant(int32_t{32768})); }), zv::err::kOverflow);
  EXPECT_EQ(errorOf([&] { position(Variant(int32_t{-32769})); }), zv::err::kOverflow);
  EXPECT_EQ(errorOf([&] { position(Variant(u"seven")); }), zv::err::kTypeMismatch);
  EXPECT_EQ(errorOf([&] { position(Variant::null()); }), zv::err::kInvalidUseOfNull);
  EXPECT_EQ(errorOf([&] { zv::call(fileLib_, u"CheckPath", {Arg(Variant::null())}); }),
            zv::err::kInvalidUseOfNull);
}

TEST_F(DispatchTest, ByReferenceWritesBackToCallerVariables) {
  Variant text(u"12");
  EXPECT_EQ(callProbe(u"String2Long", {Arg::ref(text)}).longValue(), 3);
  EXPECT_EQ(text.stringValue(), u"12!");

  // The caller's variable takes the parameter's type.
  Variant number(int16_t{5});
  callProbe(u"String2Long", {Arg::ref(number)});
  ASSERT_TRUE(number.isString());
  EXPECT_EQ(number.stringValue(), u"5!");

  // A value argument keeps the caller's own value untouched.
  Variant untouched(u"v");
  EXPECT_EQ(callProbe(u"String2Long", {Arg(untouched)}).longValue(), 2);
  EXPECT_EQ(untouched.stringValue(), u"v");
}

TEST_F(DispatchTest, ByReferenceLongsAndObjects) {
  ObjectRef original = zv::createModel(u"TextBox");
  Variant box(original), chars(int32_t{1}), words(int32_t{0}), blanks(u"3");
  EXPECT_TRUE(callProbe(u"TextBoxCounter",
                        {Arg::ref(box), Arg::ref(chars), Arg::ref(words), Arg::ref(blanks)})
                  .booleanValue());
  EXPECT_EQ(chars.longValue(), 11);
  EXPECT_EQ(words.longValue(), 2);
  EXPECT_EQ(blanks.longValue(), -1);
  ASSERT_TRUE(box.isObject());
  EXPECT_NE(box.objectValue(), original);
  EXPECT_EQ(zv::toString(zv::get(box.objectValue(), u"Text")), u"replaced");
}

TEST_F(DispatchTest, ByReferenceNamedVariantAndLeftOutOptional) {
  Variant list(zv::SafeArray::vector(zv::VarType::String, 0, {Variant(u"a"), Variant(u"b")}));
  Variant upper(false);
  EXPECT_EQ(callProbe(u"isStringExistInList", {Arg::ref(upper).named(u"upperCompare"),
                                               Arg::ref(list).named(u"theStringListe"),
                                               Arg(Variant(u"z")).named(u"stringCompare")})
                .integerValue(),
            1);
  EXPECT_EQ(list.arrayValue().at(0).stringValue(), u"z");
  EXPECT_EQ(list.arrayValue().at(1).stringValue(), u"b");
  EXPECT_TRUE(upper.booleanValue());
  // The optional by-reference flag left out starts at its default, True.
  EXPECT_EQ(callProbe(u"isStringExistInList", {Arg::ref(list), Arg(Variant(u"y"))}).integerValue(),
            0);
  EXPECT_EQ(list.arrayValue().at(0).stringValue(), u"y");
}

TEST_F(DispatchTest, ErrorsRaisedInsideMethods) {
  const auto raised = caught([&] { callProbe(u"Long2String", {Arg(Variant(int32_t{1}))}); });
  ASSERT_TRUE(raised);
  EXPECT_EQ(raised->number(), 5);
  EXPECT_EQ(raised->source(), u"ZivoviViruvov.StrChr");

  const auto internal = caught([&] {
    callProbe(u"CountItem", {Arg(Variant(u"x")), Arg(Variant(u","))});
  });
  ASSERT_TRUE(internal);
  EXPECT_EQ(internal->number(), 51);
  EXPECT_EQ(internal->description(), u"Internal error: boom");

  EXPECT_EQ(errorOf([&] {
              callProbe(u"CountItem", {Arg(Variant(u"alloc")), Arg(Variant(u","))});
            }),
            zv::err::kOutOfMemory);
  EXPECT_EQ(zv::pendingError().number, 0);
}

TEST_F(DispatchTest, SuccessfulCallClearsPendingError) {
  zv::setPendingError(zv::Error(53));
  zv::call(fileLib_, u"CheckPath", {Arg(Variant(u"x"))});
  EXPECT_EQ(zv::pendingError().number, 0);
}

TEST_F(DispatchTest, NothingAndNonObjects) {
  EXPECT_EQ(errorOf([] { zv::call(nullptr, u"Clear"); }), zv::err::kObjectNotSet);
  EXPECT_EQ(errorOf([] { zv::put(nullptr, u"Text", Variant(u"x")); }), zv::err::kObjectNotSet);
  EXPECT_EQ(errorOf([] { zv::requireObject(Variant::nothing()); }), zv::err::kObjectNotSet);
  EXPECT_EQ(errorOf([] { zv::requireObject(Variant(int32_t{1})); }), zv::err::kObjectRequired);
  EXPECT_EQ(errorOf([] { zv::requireObject(Variant()); }), zv::err::kObjectRequired);
  EXPECT_EQ(errorOf([&] { fileLib_->enumerate(); }), zv::err::kNotSupported);
}

class ListModelTest : public testing::TestWithParam<const char16_t*> {
 protected:
  void SetUp() override {
    for (const char16_t* item : {u"zero", u"one", u"two"})
      zv::call(list_, u"AddItem", {Arg(Variant(item))});
  }
  String listAt(int32_t i) { return zv::toString(zv::get(list_, u"List", {Arg(Variant(i))})); }
  int32_t longOf(zv::StringView name) { return zv::toLong(zv::get(list_, name)); }

  ObjectRef list_ = zv::createModel(GetParam());
};

TEST_P(ListModelTest, ItemsAndIndexes) {
  EXPECT_EQ(longOf(u"ListCount"), 3);
  EXPECT_EQ(longOf(u"NewIndex"), 2);
  EXPECT_EQ(longOf(u"ListIndex"), -1);
  EXPECT_EQ(listAt(1), u"one");
  // Past the end reads as empty; a negative index is refused.
  EXPECT_EQ(listAt(3), u"");
  const auto negative = caught([&] { listAt(-1); });
  ASSERT_TRUE(negative);
  EXPECT_EQ(negative->number(), 381);
  EXPECT_EQ(negative->description(), u"Invalid property array index");

  zv::call(list_, u"AddItem", {Arg(Variant(u"first")), Arg(Variant(int32_t{0}))});
  EXPECT_EQ(longOf(u"NewIndex"), 0);
  EXPECT_EQ(listAt(0), u"first");
  EXPECT_EQ(listAt(1), u"zero");
  EXPECT_EQ(errorOf([&] {
              zv::call(list_, u"AddItem", {Arg(Variant(u"x")), Arg(Variant(int32_t{9}))});
            }),
            zv::err::kInvalidCall);

  zv::put(list_, u"List", Variant(u"ZERO"), {Arg(Variant(int32_t{1}))});
  EXPECT_EQ(listAt(1), u"ZERO");
  EXPECT_EQ(errorOf([&] { zv::put(list_, u"List", Variant(u"x"), {Arg(Variant(int32_t{4}))}); }),
            381);

  zv::call(list_, u"RemoveItem", {Arg(Variant(int32_t{0}))});
  EXPECT_EQ(listAt(0), u"ZERO");
  EXPECT_EQ(errorOf([&] { zv::call(list_, u"RemoveItem", {Arg(Variant(int32_t{3}))}); }),
            zv::err::kInvalidCall);
  EXPECT_EQ(longOf(u"listcount"), 3);
}

TEST_P(ListModelTest, SelectionAndText) {
  zv::put(list_, u"ListIndex", Variant(int32_t{1}));
  EXPECT_EQ(longOf(u"ListIndex"), 1);
  EXPECT_EQ(zv::toString(zv::get(list_, u"Text")), u"one");
  const auto bad = caught([&] { zv::put(list_, u"ListIndex", Variant(int32_t{3})); });
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->number(), 380);
  EXPECT_EQ(bad->description(), u"Invalid property value");
  EXPECT_EQ(errorOf([&] { zv::put(list_, u"ListIndex", Variant(int32_t{-2})); }), 380);
  zv::put(list_, u"ListIndex", Variant(int32_t{-1}));
  EXPECT_EQ(zv::toString(zv::get(list_, u"Text")), u"");

  zv::call(list_, u"Clear");
  EXPECT_EQ(longOf(u"ListCount"), 0);
  EXPECT_EQ(longOf(u"NewIndex"), -1);
  EXPECT_EQ(longOf(u"ListIndex"), -1);
}

TEST_P(ListModelTest, ReadOnlyPropertiesRefusePuts) {
  EXPECT_EQ(errorOf([&] { zv::put(list_, u"ListCount", Variant(int32_t{1})); }),
            zv::err::kNotSupported);
  EXPECT_EQ(errorOf([&] { zv::put(list_, u"NewIndex", Variant(int32_t{1})); }),
            zv::err::kNotSupported);
  EXPECT_EQ(errorOf([&] { zv::call(list_, u"Sort"); }), zv::err::kNotSupported);
}

INSTANTIATE_TEST_SUITE_P(Models, ListModelTest, testing::Values(u"ListBox", u"ComboBox"));

TEST(Models, ComboBoxTextIsItsEditField) {
  ObjectRef combo = zv::createModel(u"ComboBox");
  zv::call(combo, u"AddItem", {Arg(Variant(u"a"))});
  zv::call(combo, u"AddItem", {Arg(Variant(u"b"))});
  zv::put(combo, u"Text", Variant(u"typed"));
  EXPECT_EQ(zv::toString(zv::get(combo, u"Text")), u"typed");
  EXPECT_EQ(zv::toLong(zv::get(combo, u"ListIndex")), -1);
  zv::put(combo, u"ListIndex", Variant(int32_t{1}));
  EXPECT_EQ(zv::toString(zv::get(combo, u"Text")), u"b");
}

TEST(Models, ListBoxTextIsReadOnly) {
  ObjectRef list = zv::createModel(u"ListBox");
  EXPECT_EQ(errorOf([&] { zv::put(list, u"Text", Variant(u"x")); }), zv::err::kNotSupported);
}

TEST(Models, TextBoxesHoldTheirText) {
  for (const char16_t* name : {u"TextBox", u"RichTextBox"}) {
    ObjectRef box = zv::createModel(name);
    EXPECT_EQ(zv::toString(zv::get(box, u"Text")), u"");
    zv::put(box, u"text", Variant(u"line 1\r\nline 2"));
    EXPECT_EQ(zv::toString(zv::get(box, u"Text")), u"line 1\r\nline 2");
    zv::put(box, u"Text", Variant(int32_t{42}));
    EXPECT_EQ(zv::get(box, u"Text").stringValue(), u"42");
    EXPECT_EQ(errorOf([&] { zv::put(box, u"Text", Variant(u"a"), {Arg(Variant(u"b"))}); }),
              zv::err::kWrongArgCount);
  }
}

}  // namespace
