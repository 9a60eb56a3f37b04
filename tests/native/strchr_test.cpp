// StrChr beyond single calls (those are rows of tests/cases/strchr.tsv): every short text
// against the loops the cutters are described by, the trapped 16-bit limits, items,
// collections, array lookups, the four-character Long, the text-box counter, late binding
// and long inputs walked in one pass.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "api/StrChr.h"
#include "frame/classes.h"
#include "platform/file_system.h"
#include "runtime/convert.h"
#include "runtime/object.h"
#include "test_support.h"

using zv::Arg;
using zv::Args;
using zv::ObjectRef;
using zv::SafeArray;
using zv::String;
using zv::Variant;
using zv::VarType;
using zvtest::caught;

namespace {

constexpr int32_t kOverflow = 6;

String rep(char16_t c, size_t n) {
  return String(n, c);
}
String rep(const String& s, size_t n) {
  String out;
  out.reserve(s.size() * n);
  for (size_t i = 0; i < n; ++i)
    out += s;
  return out;
}

// What a trace shows of a text: short ones whole, long ones by their length.
std::string shown(const String& s) {
  return s.size() <= 80 ? "'" + zv::toUtf8(s) + "'" : "<" + std::to_string(s.size()) + " chars>";
}

class StrChrTest : public testing::Test {
 protected:
  void SetUp() override { zv::clearPendingError(); }
  void TearDown() override { EXPECT_EQ(zv::pendingError().number, 0) << "pending error left"; }

  std::shared_ptr<zv::StrChr> lib_ = zv::StrChr::create();
  zvtest::RecordingUserInterface ui_;
};

// The cases of one call are in tests/cases/strchr.tsv; here those with characters beyond
// the script code page.
TEST_F(StrChrTest, CharactersBeyondTheAnsiCodePage) {
  EXPECT_EQ(lib_->GetChar(u"\u0661", 1), u"\u0661");
  EXPECT_FALSE(lib_->GetBoolean(u"\u0661", 1));
  EXPECT_EQ(lib_->KeepOnlyNumeric(u"\u0661\u00B2x9"), u"9");
  EXPECT_EQ(lib_->KeepOnlyString(u"\u0661\u00B2x9"), u"\u0661\u00B2x");
}

// ---- the loops as first described, on every short text -------------------------------

// The separator functions written as the loops they are described by: the working copy
// cut again and again with a fresh search each time, so cuts never overlap. Quadratic, for
// small texts only.
namespace described {

constexpr size_t npos = String::npos;

String left(const String& s, const String& sep, bool must) {
  if (!s.empty() && !sep.empty() && s.find(sep) != npos) return s.substr(0, s.find(sep));
  return must ? String() : s;
}

String right(const String& s, const String& sep, bool must) {
  if (!s.empty() && !sep.empty() && s.find(sep) != npos) return s.substr(s.find(sep) + sep.size());
  return must ? String() : s;
}

String end(String s, const String& sep, bool must) {
  if (s.empty() || sep.empty()) return s;
  while (s.find(sep) != npos)
    s = right(s, sep, must);
  return s;
}

String lastRight(String s, const String& sep, bool must) {
  if (s.empty() || sep.empty()) return s;
  String kept;
  while (s.find(sep) != npos) {
    kept = s;
    s = right(s, sep, must);
  }
  if (s.empty() && kept.substr(kept.size() - 1) != sep) s = kept;
  return s;
}

String lastLeft(String s, const String& sep, bool must) {
  if (s.empty() || sep.empty()) return s;
  String r, l;
  while (s.find(sep) != npos) {
    if (!l.empty()) r += l + sep;
    l = left(s, sep, must);
    s = right(s, sep, must);
  }
  if (!l.empty()) r += l;
  return r.empty() ? s : r;
}

int32_t countChar(const String& s, const String& sep) {
  if (s.empty() || sep.empty()) return 0;
  int32_t n = 0;
  for (size_t p = s.find(sep); p != npos; p = s.find(sep, p + sep.size()))
    ++n;
  return n;
}

String rightCount(String s, const String& sep, int16_t position, bool must) {
  String result;
  const int32_t c = countChar(s, sep);
  if (must && c < 1) return result;
  if (position > c && position != c + 1) return result;
  for (int32_t pos = position;;) {
    if (s.empty() || pos < 1) return result;
    --pos;
    const bool f = pos >= 1 ? must : false;
    result = left(s, sep, f);
    s = right(s, sep, f);
  }
}

int32_t countItem(String s, const String& sep) {
  if (s.empty() || sep.empty()) return 0;
  int32_t count = 0;
  while (!zv::trim(s).empty()) {
    const size_t p = s.find(sep);
    ++count;
    s = p != npos ? s.substr(p + sep.size()) : String();
  }
  return count;
}

String replaceToCrLf(String s, const String& sep) {
  if (s.empty() || sep.empty()) return s;
  String a;
  for (size_t p; (p = s.find(sep)) != npos; s = s.substr(p + sep.size()))
    a += s.substr(0, p) + u"\r\n";
  return a + s;
}

}  // namespace described

TEST_F(StrChrTest, EveryShortTextGivesWhatTheDescribedLoopsGive) {
  const std::vector<String> separators = {
      u"",     u";",     u"a",    u" ",  u"ab",      u"aa",      u"aba",   u"aab",
      u"abab", u"aabaa", u"baab", u"; ", u"aabaaab", u"abaabab", u"aaaab", u"aabaaaa"};
  std::vector<String> texts = {u""};
  for (size_t begin = 0, length = 1; length <= 6; ++length) {
    const size_t stop = texts.size();
    for (size_t i = begin; i < stop; ++i)
      for (char16_t c : {u'a', u'b', u';', u' '})
        texts.push_back(texts[i] + c);
    begin = stop;
  }
  // And longer ones over two letters, where partial matches of long separators overlap.
  std::minstd_rand random(20261206);
  for (int i = 0; i < 2000; ++i) {
    String s(8 + random() % 24, u'a');
    for (char16_t& c : s)
      if (random() % 3 == 0) c = u'b';
    texts.push_back(s);
  }
  for (const String& sep : separators) {
    for (const String& s : texts) {
      SCOPED_TRACE(shown(s) + " at " + shown(sep));
      for (bool must : {false, true}) {
        ASSERT_EQ(lib_->GetLeft(s, sep, must), described::left(s, sep, must));
        ASSERT_EQ(lib_->GetRight(s, sep, must), described::right(s, sep, must));
        ASSERT_EQ(lib_->GetEnd(s, sep, must), described::end(s, sep, must));
        ASSERT_EQ(lib_->GetLastRight(s, sep, must), described::lastRight(s, sep, must));
        ASSERT_EQ(lib_->GetLastLeft(s, sep, must), described::lastLeft(s, sep, must));
        for (int16_t position = -1; position <= 6; ++position)
          ASSERT_EQ(lib_->GetRightCount(s, sep, position, must),
                    described::rightCount(s, sep, position, must))
              << position;
      }
      ASSERT_EQ(lib_->CountItem(s, sep), described::countItem(s, sep));
      ASSERT_EQ(lib_->CountChar(s, sep), described::countChar(s, sep));
      ASSERT_EQ(lib_->ReplaceToCRLF(s, sep), described::replaceToCrLf(s, sep));
    }
  }
}

// ---- the 16-bit limits --------------------------------------------------------------

// A separator whose first character is at 1-based position `position`, then "y".
String separatorAt(size_t position, const String& sep = u";") {
  return rep(u'x', position - 1) + sep + u"y";
}

// The trapped members past position 32767 (the untrapped ones: tests/cases/strchr.tsv):
// GetLastLeft and GetStringPath report and return "", GetRightCount returns what it held.
TEST_F(StrChrTest, TrappedMembersPastPosition32767) {
  const String ok = separatorAt(32767), over = separatorAt(32768);
  const String slash(1, zv::platform::pathSeparator());
  EXPECT_EQ(lib_->GetLastLeft(over, u";", false), u"");
  EXPECT_EQ(zv::pendingError().number, 0);
  EXPECT_EQ(ui_.pointers, std::vector<int32_t>{zv::platform::kDefaultPointer});
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_EQ(lib_->GetStringPath(separatorAt(32768, slash)), u"");
  EXPECT_EQ(lib_->GetRightCount(over, u";", 2, false), u"");
  EXPECT_EQ(lib_->GetRightCount(u"a;" + over, u";", 3, false), u"a");
  EXPECT_EQ(lib_->GetRightCount(u"a;" + ok, u";", 3, false), u"y");
  EXPECT_EQ(ui_.pointers.size(), 2u);  // return only: no report
}

// ---- ItemsToCollection --------------------------------------------------------------

std::vector<String> itemsOf(const ObjectRef& coll) {
  std::vector<String> items;
  const int32_t n = zv::toLong(zv::get(coll, u"Count"));
  for (int32_t i = 1; i <= n; ++i)
    items.push_back(zv::toString(zv::call(coll, u"Item", {Arg(Variant(i))})));
  return items;
}

TEST_F(StrChrTest, ItemsToCollection) {
  struct Case {
    String list;
    String separator;
    std::vector<String> items;
  };
  const std::vector<Case> cases = {
      {u"a]|[b]|[", u"]|[", {u"a", u"b"}},
      {u"]|[a", u"]|[", {u"", u"a"}},
      {u"a]|[ ", u"]|[", {u"a"}},
      {u"", u"]|[", {}},
      {u"   ", u"]|[", {}},
      {u"abc", u"]|[", {u"abc"}},
      {u" a ]|[ b ", u"]|[", {u" a ", u" b "}},
      {u"a]|[]|[b", u"]|[", {u"a", u"", u"b"}},
      {u"a]|[ ]|[b", u"]|[", {u"a", u" ", u"b"}},
      {u"a;b", u";", {u"a", u"b"}},
      {u"a b", u"", {u"a b"}},
      {u"a]|[b]|", u"]|[", {u"a", u"b]|"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(shown(c.list));
    ObjectRef coll = zv::createModel(u"Collection");
    EXPECT_TRUE(lib_->ItemsToCollection(c.list, coll, c.separator));
    EXPECT_EQ(itemsOf(coll), c.items);
  }

  // Added at the end; failures return False without a report.
  ObjectRef coll = zv::createModel(u"Collection");
  zv::call(coll, u"Add", {Arg(Variant(u"z"))});
  EXPECT_TRUE(lib_->ItemsToCollection(u"a]|[b", coll, u"]|["));
  EXPECT_EQ(itemsOf(coll), (std::vector<String>{u"z", u"a", u"b"}));

  ObjectRef nothing;
  EXPECT_FALSE(lib_->ItemsToCollection(u"a]|[b", nothing, u"]|["));
  ObjectRef notACollection = zv::createModel(u"TextBox");
  EXPECT_FALSE(lib_->ItemsToCollection(u"a", notACollection, u"]|["));

  // An item beyond position 32767 stops the split; the items before it stay.
  ObjectRef partial = zv::createModel(u"Collection");
  EXPECT_FALSE(lib_->ItemsToCollection(u"a;" + separatorAt(32768) + u";b", partial, u";"));
  EXPECT_EQ(itemsOf(partial), std::vector<String>{u"a"});
  ObjectRef whole = zv::createModel(u"Collection");
  EXPECT_TRUE(lib_->ItemsToCollection(u"a;" + separatorAt(32767), whole, u";"));
  EXPECT_EQ(itemsOf(whole).size(), 3u);
  EXPECT_TRUE(ui_.pointers.empty());
}

// ---- isStringExistInList ------------------------------------------------------------

Variant stringArray(int32_t lower, std::vector<String> items) {
  std::vector<Variant> values(items.begin(), items.end());
  return Variant(SafeArray::vector(VarType::String, lower, std::move(values)));
}

TEST_F(StrChrTest, IsStringExistInList) {
  struct Case {
    int32_t lower;
    std::vector<String> items;
    String wanted;
    bool upperCompare;
    int16_t expected;
  };
  const std::vector<Case> cases = {
      {0, {u"x", u"abc", u"ABC"}, u"ABC", true, 1},
      {0, {u"x", u"abc", u"ABC"}, u"ABC", false, 2},
      {0, {u"x", u"abc"}, u"ABC", false, -1},
      {0, {u"x", u"\u00E9t\u00E9"}, u"\u00C9T\u00C9", true, 1},
      {1, {u"abc"}, u"abc", true, 1},
      {0, {u"abc"}, u"abc", true, -1},  // upper bound 0: never searched
      {-3, {u"a", u"b", u"c", u"d"}, u"a", true, -1},
      {-2, {u"a", u"b", u"c", u"d", u"e"}, u"a", true, -2},
      {5, {u"a", u"b"}, u"b", true, 6},
      {0, {}, u"a", true, -1},
      {0, {u"x", u"   ", u""}, u"   ", true, -1},  // blank elements never match
      {0, {u"x", u""}, u"", false, -1},
      {0, {u"x", u" abc"}, u"abc", true, -1},  // neither side trimmed
      {0, {u"x", u"abc "}, u"abc ", false, 1},
      {32765, {u"a", u"b", u"c"}, u"c", true, 32767},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.lower) + " " + shown(c.wanted));
    Variant list = stringArray(c.lower, c.items);
    bool upper = c.upperCompare;
    EXPECT_EQ(lib_->isStringExistInList(list, c.wanted, upper), c.expected);
    EXPECT_EQ(upper, c.upperCompare);
  }
  EXPECT_TRUE(ui_.pointers.empty());

  // Failures return -1 and are reported.
  bool upper = true;
  // The index is 16-bit: walking past 32767 fails, and the failure is reported.
  Variant beyond = stringArray(32766, {u"a", u"b", u"c"});
  EXPECT_EQ(lib_->isStringExistInList(beyond, u"c", upper), -1);
  EXPECT_EQ(ui_.pointers.size(), 1u);
  Variant notAnArray(u"abc");
  EXPECT_EQ(lib_->isStringExistInList(notAnArray, u"abc", upper), -1);
  Variant mixed(SafeArray::vector(VarType::Variant, 0, {Variant(u"x"), Variant::null()}));
  EXPECT_EQ(lib_->isStringExistInList(mixed, u"abc", upper), -1);
  SafeArray square;
  square.elementType = VarType::String;
  square.bounds = {{0, 2}, {0, 2}};
  square.items.assign(4, Variant(u"abc"));
  Variant twoDimensions(square);
  EXPECT_EQ(lib_->isStringExistInList(twoDimensions, u"abc", upper), -1);
  EXPECT_EQ(ui_.pointers.size(), 4u);
  EXPECT_TRUE(ui_.boxes.empty());
  Variant numbers(
      SafeArray::vector(VarType::Variant, 0, {Variant(int32_t{1}), Variant(int16_t{25})}));
  EXPECT_EQ(lib_->isStringExistInList(numbers, u"25", upper), 1);
}

// ---- Long2String, String2Long -------------------------------------------------------

// String2Long leaves its ByRef text alone (a character without an ANSI code reads as '?'),
// and undoes Long2String on texts of four letters (single cases: tests/cases/strchr.tsv).
TEST_F(StrChrTest, String2LongAndRoundTrip) {
  String text = u"\u4E00BCD";
  EXPECT_EQ(lib_->String2Long(text), 0x3F424344);
  EXPECT_EQ(text, u"\u4E00BCD");
  for (const String& s :
       {String(u"ABCD"), String(u"Wxyz"), String(u"Az09"), String(u"0000"), String(u"~~~~")}) {
    String copy = s;
    EXPECT_EQ(lib_->Long2String(lib_->String2Long(copy)), s) << shown(s);
  }
  for (int32_t value : {0x41424344, 0x20202020, 0x7A7A7A7A, 0x10101010}) {
    String copy = lib_->Long2String(value);
    EXPECT_EQ(lib_->String2Long(copy), value) << value;
  }
}

// ---- Terminator, RemoveAccent, RemoveExtraAccentAndChar, RemoveExtraSpaces, KeepOnly* -----

// Every letter U+00C0 to U+00FF goes, the signs times and divide stay (more in Cleanups).
TEST_F(StrChrTest, RemoveAccent) {
  for (char16_t c = 0xC0; c <= 0xFF; ++c)
    EXPECT_EQ(lib_->RemoveAccent(String(1, c)), c == 0xD7 || c == 0xF7 ? String(1, c) : u"_")
        << int(c);
}

// ---- TextBoxCounter -----------------------------------------------------------------

ObjectRef textBox(const String& text) {
  ObjectRef box = zv::createModel(u"TextBox");
  zv::put(box, u"Text", Variant(text));
  return box;
}

struct Counters {
  int32_t chars, words, blanks;
  friend bool operator==(const Counters&, const Counters&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Counters& c) {
    return os << c.chars << "/" << c.words << "/" << c.blanks;
  }
};

// The position is 16-bit: texts beyond 32767 characters stop the count with False.
TEST_F(StrChrTest, TextBoxCounter) {
  struct Case {
    String text;
    bool result;
    Counters expected, start{0, 0, 0};
  };
  const std::vector<Case> cases = {
      {u"ab cd", true, {4, 2, 1}},
      {u"ab ", true, {2, 1, 1}},
      {u" ", true, {0, 0, 1}},
      {u"   ", true, {0, 0, 3}},
      {u"a", true, {1, 1, 0}},
      {u"  a  b  ", true, {2, 2, 6}},
      {u"a\tb\nc", true, {5, 1, 0}},
      {u"a\r\nb c", true, {5, 2, 1}},
      {rep(u'x', 32767), true, {32767, 1, 0}},
      {rep(u'x', 32765) + u" ", true, {32765, 1, 1}},
      // The step past the last blank of a 32767-character text already leaves the range.
      {rep(u'x', 32766) + u" ", false, {32766, 1, 1}},
      {rep(u'x', 32768), false, {32767, 0, 0}},
      {rep(u'x', 100000), false, {32767, 0, 0}},
      {rep(u'x', 32766) + u"  ", false, {32766, 1, 1}},
      {u"a " + rep(u' ', 40000), false, {1, 1, 32766}},
      // The counts add to the counters passed; an empty text leaves them alone.
      {u"ab cd", true, {14, 22, 31}, {10, 20, 30}},
      {u"", false, {7, 8, 9}, {7, 8, 9}},
      // A Long counter at its limit overflows inside the trap.
      {u"ab cd", false, {INT32_MAX, 0, 0}, {INT32_MAX, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(shown(c.text));
    ObjectRef box = textBox(c.text);
    Counters n = c.start;
    EXPECT_EQ(lib_->TextBoxCounter(box, n.chars, n.words, n.blanks), c.result);
    EXPECT_EQ(n, c.expected);
  }
  // Nothing leaves them alone too.
  ObjectRef nothing;
  Counters untouched{7, 8, 9};
  EXPECT_FALSE(lib_->TextBoxCounter(nothing, untouched.chars, untouched.words, untouched.blanks));
  EXPECT_EQ(untouched, (Counters{7, 8, 9}));
  EXPECT_TRUE(ui_.pointers.empty());
}

// ---- late-bound calls ---------------------------------------------------------------

class StrChrLateBoundTest : public StrChrTest {
 protected:
  Variant call(zv::StringView name, Args args) { return zv::call(obj_, name, std::move(args)); }
  ObjectRef obj_ = zv::createObject(u"ZivoviViruvov.StrChr");
};

// The real member table: parameter names as callers spell them and the optional defaults
// (binding itself: dispatch_test.cpp).
TEST_F(StrChrLateBoundTest, DefaultsAndNamedArguments) {
  ASSERT_NE(obj_, nullptr);
  EXPECT_EQ(call(u"getleft", {Arg(Variant(u"abc")), Arg(Variant(u";")),
                              Arg(Variant(true)).named(u"separatorMustExist")})
                .stringValue(),
            u"");
  EXPECT_EQ(call(u"GetRightCount", {Arg(Variant(int16_t{2})).named(u"thePosition"),
                                    Arg(Variant(u";")).named(u"theSeparator"),
                                    Arg(Variant(u"a;b;c")).named(u"theString")})
                .stringValue(),
            u"b");

  // ItemsToCollection with its default separator "]|[".
  Variant coll(zv::createModel(u"Collection"));
  EXPECT_TRUE(
      call(u"ItemsToCollection", {Arg(Variant(u"a]|[b]|[")), Arg::ref(coll)}).booleanValue());
  EXPECT_EQ(itemsOf(coll.objectValue()), (std::vector<String>{u"a", u"b"}));

  // isStringExistInList with upperCompare left out compares upper-case forms.
  Variant list = stringArray(1, {u"x", u"abc"});
  EXPECT_EQ(call(u"isStringExistInList", {Arg::ref(list), Arg(Variant(u"ABC"))}).integerValue(), 2);
  Variant exact(false);
  EXPECT_EQ(call(u"isStringExistInList",
                 {Arg::ref(list), Arg(Variant(u"ABC")), Arg::ref(exact).named(u"upperCompare")})
                .integerValue(),
            -1);
}

TEST_F(StrChrLateBoundTest, OverflowReachesTheCaller) {
  const auto e = caught([&] {
    call(u"GetLeft", {Arg(Variant(separatorAt(32768))), Arg(Variant(u";"))});
  });
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(e->number(), kOverflow);
  EXPECT_EQ(e->source(), u"ZivoviViruvov.StrChr");
  EXPECT_EQ(zv::pendingError().number, 0);
}

// ---- long inputs, one pass each -----------------------------------------------------

TEST_F(StrChrTest, MegabyteInputs) {
  const size_t units = 1 << 18;  // 1 MB of "abc;"
  const String list = rep(String(u"abc;"), units);
  EXPECT_EQ(lib_->CountItem(list, u";"), static_cast<int32_t>(units));
  EXPECT_EQ(lib_->CountChar(list, u";"), static_cast<int32_t>(units));
  EXPECT_EQ(lib_->GetEnd(list + u"z", u";", false), u"z");
  EXPECT_EQ(lib_->GetLastRight(list, u";", false), u"");
  EXPECT_EQ(lib_->GetLastLeft(list, u";", false), list.substr(0, list.size() - 1));
  EXPECT_EQ(lib_->GetRightCount(list, u";", 32767, false), u"abc");
  EXPECT_EQ(lib_->ReplaceToCRLF(list, u";"), rep(String(u"abc\r\n"), units));
  EXPECT_EQ(lib_->RemoveAccent(list), rep(String(u"abc_"), units));

  // Two-character separators, and one that nearly matches everywhere.
  const String pairs = rep(String(u"ab||"), units);
  EXPECT_EQ(lib_->GetLastRight(pairs, u"||", false), u"ab||");
  EXPECT_EQ(lib_->GetEnd(pairs, u"||", false), u"");
  EXPECT_EQ(lib_->CountItem(pairs, u"||"), static_cast<int32_t>(units));
  const String as = rep(u'a', 1 << 20);
  const String almost = rep(u'a', 999) + u"b";
  EXPECT_EQ(lib_->CountChar(as, almost), 0);
  EXPECT_EQ(lib_->GetEnd(as, almost, false), as);
  EXPECT_EQ(lib_->CountItem(almost + as, almost), 2);
  EXPECT_EQ(lib_->CountChar(as, u"aa"), 1 << 19);
  EXPECT_EQ(lib_->GetEnd(as + u"b", u"aa", false), u"b");

  const String blanks = u"a" + rep(u' ', 1 << 20) + u"b";
  EXPECT_EQ(lib_->RemoveExtraSpaces(blanks), u"a b");
  EXPECT_EQ(lib_->KeepOnlyNumeric(rep(String(u"a1"), 1 << 19)), rep(u'1', 1 << 19));

  ObjectRef coll = zv::createModel(u"Collection");
  EXPECT_TRUE(lib_->ItemsToCollection(rep(String(u"item]|["), 100000), coll, u"]|["));
  EXPECT_EQ(zv::toLong(zv::get(coll, u"Count")), 100000);
}

}  // namespace
