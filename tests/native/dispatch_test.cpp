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

// Creation by ProgID and CLSID, case-insensitive names and FileLib's binding errors run from
// Python (test_module.py); here the binding rules and errors on StrChr's own parameter types.
TEST_F(DispatchTest, BindingAndErrorsRaisedInsideMethods) {
  const struct {
    Args args;
    const char16_t* expected;
  } cases[] = {
      {{Arg(Variant(u"a")), Arg(Variant(u","))}, u"a|,|F"},
      {{Arg(Variant(u"a")), Arg(Variant(u",")), Arg(Variant(true))}, u"a|,|T"},
      // Named in any order and case, values coerced to the parameter types.
      {{Arg(Variant(u"-1")).named(u"SEPARATORMUSTEXIST"), Arg(Variant(u";")).named(u"theseperator"),
        Arg(Variant(int32_t{5})).named(u"theString")},
       u"5|;|T"},
      // A Missing argument is left out: the optional takes its default.
      {{Arg(Variant(u"a")), Arg(Variant(u",")), Arg(Variant::missing())}, u"a|,|F"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(callProbe(u"GetLeft", c.args).stringValue(), c.expected);
  // The other binding errors run on FileLib from Python and the tables; here the text of an
  // unknown member, a Missing given for a required parameter and errors raised by the method.
  const auto unknown = caught([&] { callProbe(u"NoSuchMember", {}); });
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->number(), 438);
  EXPECT_EQ(unknown->description(),
            u"Object doesn't support this property or method: StrChr.NoSuchMember");
  EXPECT_EQ(unknown->source(), u"ZivoviViruvov.StrChr");
  EXPECT_EQ(errorOf([&] {
              callProbe(u"GetLeft", {Arg(Variant(u"a")), Arg(Variant::missing())});
            }),
            zv::err::kArgNotOptional);
  // Errors raised inside the method keep their number; others are internal errors.
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

// A String write-back in the parameter's type runs from Python (test_values.py); here Longs
// of other types, an object passed by reference that the callee replaces, named by-reference
// arguments and a by-reference optional left out.
TEST_F(DispatchTest, ByReferenceArguments) {
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

// Unknown models, Nothing, Null (the coercions of numbers and texts are rows of
// tests/cases/frame.tsv) and non-objects; a successful call clears the pending error.
TEST_F(DispatchTest, NothingNullAndNonObjects) {
  EXPECT_EQ(errorOf([] { zv::createModel(u"Form"); }), 429);
  EXPECT_EQ(errorOf([] { zv::call(nullptr, u"Clear"); }), zv::err::kObjectNotSet);
  EXPECT_EQ(errorOf([] { zv::put(nullptr, u"Text", Variant(u"x")); }), zv::err::kObjectNotSet);
  EXPECT_EQ(errorOf([] { zv::requireObject(Variant::nothing()); }), zv::err::kObjectNotSet);
  EXPECT_EQ(errorOf([] { zv::requireObject(Variant(int32_t{1})); }), zv::err::kObjectRequired);
  EXPECT_EQ(errorOf([] { zv::requireObject(Variant()); }), zv::err::kObjectRequired);
  EXPECT_EQ(errorOf([&] { fileLib_->enumerate(); }), zv::err::kNotSupported);
  EXPECT_EQ(
      errorOf([&] {
        callProbe(u"GetRightCount", {Arg(Variant(u"s")), Arg(Variant(u",")), Arg(Variant::null())});
      }),
      zv::err::kInvalidUseOfNull);
  EXPECT_EQ(errorOf([&] { zv::call(fileLib_, u"CheckPath", {Arg(Variant::null())}); }),
            zv::err::kInvalidUseOfNull);
  zv::setPendingError(zv::Error(53));
  zv::call(fileLib_, u"CheckPath", {Arg(Variant(u"x"))});
  EXPECT_EQ(zv::pendingError().number, 0);
}

// The list models' rules from Python (test_models.py) cover adding, reading, selecting and
// their errors, ListCount and Text read-only; here what Python does not reach: removal,
// clearing, NewIndex read-only.
TEST(Models, ListModelsRemoveClearAndRefuse) {
  for (const char16_t* kind : {u"ListBox", u"ComboBox"}) {
    SCOPED_TRACE(zv::toUtf8(kind));
    ObjectRef list = zv::createModel(kind);
    for (const char16_t* item : {u"zero", u"one", u"two"})
      zv::call(list, u"AddItem", {Arg(Variant(item))});
    const auto at = [&](int32_t i) {
      return zv::toString(zv::get(list, u"List", {Arg(Variant(i))}));
    };
    const auto number = [&](zv::StringView name) { return zv::toLong(zv::get(list, name)); };
    EXPECT_EQ(errorOf([&] { zv::put(list, u"List", Variant(u"x"), {Arg(Variant(int32_t{3}))}); }),
              381);
    zv::call(list, u"RemoveItem", {Arg(Variant(int32_t{0}))});
    EXPECT_EQ(at(0), u"one");
    EXPECT_EQ(errorOf([&] { zv::call(list, u"RemoveItem", {Arg(Variant(int32_t{2}))}); }),
              zv::err::kInvalidCall);
    EXPECT_EQ(errorOf([&] { zv::put(list, u"ListIndex", Variant(int32_t{-2})); }), 380);
    zv::put(list, u"ListIndex", Variant(int32_t{1}));
    zv::put(list, u"ListIndex", Variant(int32_t{-1}));
    EXPECT_EQ(zv::toString(zv::get(list, u"Text")), u"");
    EXPECT_EQ(errorOf([&] { zv::put(list, u"NewIndex", Variant(int32_t{1})); }),
              zv::err::kNotSupported);
    EXPECT_EQ(errorOf([&] { zv::call(list, u"Sort"); }), zv::err::kNotSupported);
    zv::call(list, u"Clear");
    EXPECT_EQ(number(u"listcount") + number(u"NewIndex") + number(u"ListIndex"), -2);
  }
}

TEST(Models, TextBoxesConvertTheirTextAndTakeNoIndex) {
  for (const char16_t* name : {u"TextBox", u"RichTextBox"}) {
    ObjectRef box = zv::createModel(name);
    zv::put(box, u"text", Variant(int32_t{42}));
    EXPECT_EQ(zv::get(box, u"Text").stringValue(), u"42");
    EXPECT_EQ(errorOf([&] { zv::put(box, u"Text", Variant(u"a"), {Arg(Variant(u"b"))}); }),
              zv::err::kWrongArgCount);
  }
}

}  // namespace
