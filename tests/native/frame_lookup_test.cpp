// iExistInListBox and iExistInComboBox on the library's list models and on a caller's own
// object that answers the same members by hand.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "frame/classes.h"
#include "frame/varnix.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "test_support.h"

using zv::Arg;
using zv::Args;
using zv::ObjectRef;
using zv::String;
using zv::Variant;

namespace {

// A caller's list control seen only through invoke, with a failure to order.
class ForeignList : public zv::Object {
 public:
  explicit ForeignList(std::vector<String> items) : items_(std::move(items)) {}

  zv::Variant invoke(zv::StringView name, unsigned, Args& args) override {
    calls.emplace_back(name);
    if (failOn && zv::equalsNoCase(name, *failOn) &&
        (!failAtIndex || (!args.empty() && zv::toLong(args[0].value()) == *failAtIndex)))
      throw zv::Error(failure, u"", u"Caller.List");
    if (zv::equalsNoCase(name, u"ListCount"))
      return countAsText ? Variant(zv::longToString(count())) : Variant(count());
    if (zv::equalsNoCase(name, u"List")) {
      const int32_t i = zv::toLong(args.at(0).value());
      return i < count() ? Variant(items_[i]) : Variant(u"");
    }
    if (zv::equalsNoCase(name, u"AddItem")) {
      items_.push_back(zv::toString(args.at(0).value()));
      return Variant();
    }
    if (zv::equalsNoCase(name, u"NewIndex")) return Variant(count() - 1);
    zv::raise(zv::err::kNotSupported);
  }
  String typeName() const override { return u"ForeignList"; }

  int32_t count() const { return static_cast<int32_t>(items_.size()); }
  const std::vector<String>& items() const { return items_; }

  std::vector<String> calls;
  std::optional<String> failOn;
  std::optional<int32_t> failAtIndex;
  int32_t failure = 70;
  bool countAsText = false;

 private:
  std::vector<String> items_;
};

class LookupTest : public testing::Test {
 protected:
  void SetUp() override { zv::clearPendingError(); }

  static ObjectRef model(zv::StringView kind, std::initializer_list<const char16_t*> items) {
    ObjectRef list = zv::createModel(kind);
    for (const char16_t* item : items)
      zv::call(list, u"AddItem", {Arg(Variant(item))});
    return list;
  }
  static int32_t count(const ObjectRef& list) { return zv::toLong(zv::get(list, u"ListCount")); }
  static String at(const ObjectRef& list, int32_t i) {
    return zv::toString(zv::get(list, u"List", {Arg(Variant(i))}));
  }

  zvtest::RecordingUserInterface ui_;
};

// The list box matches trimmed whole items, the combo box untrimmed substrings; both keep
// the case.
TEST_F(LookupTest, MatchesByKindOfList) {
  ObjectRef list = model(u"ListBox", {u"abc", u" def ", u"Ghi", u"", u"x y"});
  const std::pair<const char16_t*, int32_t> inList[] = {
      {u" abc ", 0}, {u"def", 1}, {u"Ghi", 2}, {u"ghi", -1},  {u"bc", -1},
      {u"abcd", -1}, {u"", 3},    {u"   ", 3}, {u"x  y", -1}, {u"\tabc", -1}};
  for (const auto& [text, expected] : inList)
    EXPECT_EQ(zv::iExistInListBox(list, text, false), expected) << zv::toUtf8(text);
  ObjectRef combo = model(u"ComboBox", {u"xabcx", u"ABC", u" pad "});
  const std::pair<const char16_t*, int32_t> inCombo[] = {
      {u"abc", 0}, {u"xabcx", 0}, {u"BC", 1},     {u"Abc", -1}, {u" abc", -1},
      {u"pad", 2}, {u" pad ", 2}, {u"pad  ", -1}, {u"", 0},     {u"xabcxx", -1}};
  for (const auto& [text, expected] : inCombo)
    EXPECT_EQ(zv::iExistInComboBox(combo, text, false), expected) << zv::toUtf8(text);
  EXPECT_EQ(count(list) + count(combo), 8);
  EXPECT_TRUE(ui_.pointers.empty());
}

TEST_F(LookupTest, AddsWhatIsNotFoundAndReturnsTheNewIndex) {
  ObjectRef list = model(u"ListBox", {u"a", u"b"});
  EXPECT_EQ(zv::iExistInListBox(list, u"  new ", true), 2);
  EXPECT_EQ(at(list, 2), u"  new ");
  EXPECT_EQ(zv::iExistInListBox(list, u"new", true), 2);  // found now: no second copy
  EXPECT_EQ(count(list), 3);
  ObjectRef combo = model(u"ComboBox", {u"one", u"two"});
  EXPECT_EQ(zv::iExistInComboBox(combo, u"Three", true), 2);
  EXPECT_EQ(at(combo, 2), u"Three");
  EXPECT_EQ(zv::iExistInComboBox(combo, u"hre", true), 2);
  EXPECT_EQ(count(combo), 3);
  // An empty list holds nothing, not even the empty text.
  ObjectRef emptyList = model(u"ListBox", {}), emptyCombo = model(u"ComboBox", {});
  EXPECT_EQ(zv::iExistInListBox(emptyList, u"", false), -1);
  EXPECT_EQ(zv::iExistInComboBox(emptyCombo, u"", false), -1);
  EXPECT_EQ(zv::iExistInListBox(emptyList, u"abc", true), 0);
  EXPECT_EQ(zv::iExistInComboBox(emptyCombo, u"abc", true), 0);
  EXPECT_TRUE(ui_.pointers.empty());
}

TEST_F(LookupTest, ForeignObjectIsReachedByMemberNamesAndNothingIsAFailure) {
  auto foreign = std::make_shared<ForeignList>(std::vector<String>{u"red", u" green", u"blue"});
  foreign->countAsText = true;
  EXPECT_EQ(zv::iExistInListBox(foreign, u"green ", false), 1);
  EXPECT_EQ(foreign->calls, (std::vector<String>{u"ListCount", u"List", u"List"}));
  foreign->calls.clear();
  EXPECT_EQ(zv::iExistInComboBox(foreign, u"lu", false), 2);
  EXPECT_EQ(zv::iExistInListBox(foreign, u"black", true), 3);
  EXPECT_EQ(foreign->items().back(), u"black");
  EXPECT_EQ(foreign->calls.back(), u"NewIndex");
  EXPECT_TRUE(ui_.pointers.empty());
  // A failure after a match keeps the match; Nothing is a failure.
  auto failing = std::make_shared<ForeignList>(std::vector<String>{u"a", u"b"});
  failing->failOn = u"List";
  failing->failAtIndex = 1;
  EXPECT_EQ(zv::iExistInListBox(failing, u"a", true), 0);
  EXPECT_TRUE(ui_.pointers.empty());
  EXPECT_EQ(zv::iExistInListBox(nullptr, u"a", true), -1);
  EXPECT_EQ(zv::iExistInComboBox(nullptr, u"a", true), -1);
  EXPECT_EQ(ui_.pointers, (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(zv::pendingError().number, 0);
}

TEST_F(LookupTest, ForeignFailuresAreReportedSilentlyAndGiveMinusOne) {
  const struct {
    const char16_t* member;
    std::optional<int32_t> index;
    bool addIt;
  } cases[] = {{u"ListCount", std::nullopt, false},
               {u"List", 0, false},
               {u"List", 2, true},
               {u"AddItem", std::nullopt, true},
               {u"NewIndex", std::nullopt, true}};
  for (const auto& f : cases) {
    for (bool combo : {false, true}) {
      SCOPED_TRACE(zv::toUtf8(f.member) + (combo ? " combo" : " list"));
      auto foreign = std::make_shared<ForeignList>(std::vector<String>{u"a", u"b", u"c"});
      foreign->failOn = f.member;
      foreign->failAtIndex = f.index;
      ui_.pointers.clear();
      const int32_t result = combo ? zv::iExistInComboBox(foreign, u"zzz", f.addIt)
                                   : zv::iExistInListBox(foreign, u"zzz", f.addIt);
      EXPECT_EQ(result, -1);
      // The report reset the pointer, showed nothing and cleared the error.
      EXPECT_EQ(ui_.pointers, std::vector<int32_t>{0});
      EXPECT_TRUE(ui_.boxes.empty());
      EXPECT_EQ(zv::pendingError().number, 0);
      // A failing item ends the search.
      if (f.index == 2 && !combo) {
        EXPECT_EQ(foreign->calls, (std::vector<String>{u"ListCount", u"List", u"List", u"List"}));
      }
    }
  }
}

// Combo box indexes are 16-bit: the search overflows past 32767 and reports it; list box
// indexes are 32-bit.
TEST_F(LookupTest, ComboBoxIndexesStopAt32767) {
  std::vector<String> items;
  for (int32_t i = 0; i < 40000; ++i)
    items.push_back(u"item" + zv::longToString(i) + u";");
  auto foreign = std::make_shared<ForeignList>(std::move(items));
  EXPECT_EQ(zv::iExistInComboBox(foreign, u"item32767;", false), 32767);
  EXPECT_TRUE(ui_.pointers.empty());
  EXPECT_EQ(zv::iExistInComboBox(foreign, u"item32768;", false), -1);
  EXPECT_EQ(ui_.pointers, std::vector<int32_t>{0});
  EXPECT_EQ(zv::iExistInListBox(foreign, u"item39999;", false), 39999);
}

}  // namespace
