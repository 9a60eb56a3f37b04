// StrChr: cuts at separators with their 16-bit limits, items, collections, array lookups,
// the four-character Long, accents, cleanup, counting and the text-box counter; typed
// calls, late-bound calls, and long inputs walked in one pass.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "api/StrChr.h"
#include "frame/classes.h"
#include "platform/file_system.h"
#include "runtime/ansi.h"
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
using zvtest::errorOf;

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

  // The untrapped cutters fail with Overflow on this text and separator, either flag.
  void expectOverflows(const String& text, const String& sep) {
    for (bool must : {false, true}) {
      EXPECT_EQ(errorOf([&] { lib_->GetLeft(text, sep, must); }), kOverflow) << must;
      EXPECT_EQ(errorOf([&] { lib_->GetRight(text, sep, must); }), kOverflow) << must;
      EXPECT_EQ(errorOf([&] { lib_->GetEnd(text, sep, must); }), kOverflow) << must;
      EXPECT_EQ(errorOf([&] { lib_->GetLastRight(text, sep, must); }), kOverflow) << must;
    }
    EXPECT_EQ(errorOf([&] { lib_->CountItem(text, sep); }), kOverflow);
    EXPECT_EQ(errorOf([&] { lib_->ReplaceToCRLF(text, sep); }), kOverflow);
    zv::clearPendingError();
  }

  std::shared_ptr<zv::StrChr> lib_ = zv::StrChr::create();
  zvtest::RecordingUserInterface ui_;
};

// ---- GetLeft, GetRight, GetEnd, GetLastRight, GetLastLeft ---------------------------

TEST_F(StrChrTest, Cutters) {
  struct Case {
    String input, separator;
    bool mustExist;
    String left, right, end, lastRight, lastLeft;
  };
  const std::vector<Case> cases = {
      {u"a;b;c;", u";", false, u"a", u"b;c;", u"", u"", u"a;b;c"},
      // Empty items are dropped from GetLastLeft together with the separator after them.
      {u"a;;;b", u";", false, u"a", u";;b", u"b", u"b", u"a;"},
      {u"abc", u";", false, u"abc", u"abc", u"abc", u"abc", u"abc"},
      {u"abc", u";", true, u"", u"", u"abc", u"abc", u"abc"},
      {u"ABC", u"b", false, u"ABC", u"ABC", u"ABC", u"ABC", u"ABC"},
      {u"C:\\dir\\file.txt", u"\\", false, u"C:", u"dir\\file.txt", u"file.txt", u"file.txt",
       u"C:\\dir"},
      {u"a||b||c", u"||", false, u"a", u"b||c", u"c", u"c", u"a||b"},
      // Ending on a two-character separator, GetLastRight keeps the copy before the last cut.
      {u"a||b||", u"||", false, u"a", u"b||", u"", u"b||", u"a||b"},
      {u"x||", u"||", false, u"x", u"", u"", u"x||", u"x"},
      {u"||||", u"||", false, u"", u"||", u"", u"||", u""},
      {u"a|||b", u"||", false, u"a", u"|b", u"|b", u"|b", u"a"},
      {u"a|b", u"||", true, u"", u"", u"a|b", u"a|b", u"a|b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(shown(c.input) + " at " + shown(c.separator) + (c.mustExist ? " must" : ""));
    EXPECT_EQ(lib_->GetLeft(c.input, c.separator, c.mustExist), c.left);
    EXPECT_EQ(lib_->GetRight(c.input, c.separator, c.mustExist), c.right);
    EXPECT_EQ(lib_->GetEnd(c.input, c.separator, c.mustExist), c.end);
    EXPECT_EQ(lib_->GetLastRight(c.input, c.separator, c.mustExist), c.lastRight);
    EXPECT_EQ(lib_->GetLastLeft(c.input, c.separator, c.mustExist), c.lastLeft);
  }
  EXPECT_TRUE(ui_.pointers.empty());
}

// ---- GetRightCount, CountItem, CountChar, ReplaceToCRLF -------------------------------

TEST_F(StrChrTest, GetRightCount) {
  struct Case {
    String input, separator;
    int16_t position;
    bool mustExist;
    String expected;
  };
  const std::vector<Case> cases = {
      {u"a;b;c", u";", 1, false, u"a"},    {u"a;b;c", u";", -1, false, u""},
      {u"a;b;c", u";", 3, true, u"c"},     {u"abc", u";", 1, false, u"abc"},
      {u"abc", u";", 1, true, u""},        {u"abc", u";", 2, false, u""},
      {u"a||b||c", u"||", 3, false, u"c"}, {u"a||b||c", u"||", 2, true, u"b"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(lib_->GetRightCount(c.input, c.separator, c.position, c.mustExist), c.expected)
        << shown(c.input) << " #" << c.position;
}

// CountItem stops at a blank rest; CountChar counts the separators themselves.
TEST_F(StrChrTest, CountItemAndCountChar) {
  struct Case {
    String input, separator;
    int32_t items, separators;
  };
  const std::vector<Case> cases = {
      {u"abc", u";", 1, 0},     {u"a;b;c", u";", 3, 2},  {u"a; ", u";", 1, 1},
      {u"a;\t", u";", 2, 1},    {u"a\tb", u"\t", 2, 1},  {u"ABC", u"b", 1, 0},
      {u"a||b||", u"||", 2, 2}, {u"a||b|", u"||", 2, 1}, {u"abc", u"abc", 1, 1},
      {u"ab", u"abc", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(shown(c.input) + " at " + shown(c.separator));
    EXPECT_EQ(lib_->CountItem(c.input, c.separator), c.items);
    EXPECT_EQ(lib_->CountChar(c.input, c.separator), c.separators);
  }
}

TEST_F(StrChrTest, ReplaceToCRLF) {
  struct Case {
    String input, separator, expected;
  };
  const std::vector<Case> cases = {
      {u"|a", u"|", u"\r\na"},       {u"", u"|", u""},       {u"a||b", u"||", u"a\r\nb"},
      {u"a|||b", u"||", u"a\r\n|b"}, {u"abc", u"|", u"abc"}, {u"a\r\nb", u"\r\n", u"a\r\nb"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(lib_->ReplaceToCRLF(c.input, c.separator), c.expected)
        << shown(c.input) << " at " << shown(c.separator);
}

TEST_F(StrChrTest, GetCharAndGetBoolean) {
  struct Case {
    String input;
    int16_t position;
    String character;
    bool boolean;
  };
  const std::vector<Case> cases = {
      {u"abc", -5, u"a", false}, {u"abc", 3, u"c", false},         {u"", 0, u"", false},
      {u"", 1, u"", false},      {u"0", 1, u"0", false},           {u"1", 1, u"1", true},
      {u"9", 1, u"9", true},     {u"x5", 2, u"5", true},           {u"x5", 3, u"", false},
      {u"-1", 1, u"-", false},   {u"1", -3, u"1", true},           {u".5", 1, u".", false},
      {u" 7", 1, u" ", false},   {u"\u0661", 1, u"\u0661", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(shown(c.input) + " #" + std::to_string(c.position));
    EXPECT_EQ(lib_->GetChar(c.input, c.position), c.character);
    EXPECT_EQ(lib_->GetBoolean(c.input, c.position), c.boolean);
  }
  EXPECT_EQ(lib_->GetChar(rep(u'x', 40000) + u"y", 32767), u"x");
}

// ---- GetStringFile, GetStringPath ---------------------------------------------------

TEST_F(StrChrTest, FileAndPathSplitAtThePlatformSeparator) {
  const String sep(1, zv::platform::pathSeparator());
  struct Case {
    String path, file, folder;
  };
  const std::vector<Case> cases = {
      {u"C:" + sep + u"dir" + sep + u"file.txt", u"file.txt", u"C:" + sep + u"dir"},
      {u"file.txt", u"file.txt", u"file.txt"},
      {u"", u"", u""},
      {u"dir" + sep, u"", u"dir"},
      {u"a" + sep + u"b" + sep + u"c", u"c", u"a" + sep + u"b"},
      // Empty items are dropped from the folder part; an absolute POSIX path keeps its root.
      {u"/a.txt", u"a.txt", u"/"},
      {u"a" + sep + sep + u"b", u"b", u"a" + sep},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(shown(c.path));
    EXPECT_EQ(lib_->GetStringFile(c.path), c.file);
    EXPECT_EQ(lib_->GetStringPath(c.path), c.folder);
  }
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

TEST_F(StrChrTest, SeparatorAtPosition32767IsTheLastOneAllowed) {
  const String ok = separatorAt(32767), over = separatorAt(32768);
  const String before = rep(u'x', 32766), slash(1, zv::platform::pathSeparator());
  EXPECT_EQ(lib_->GetLeft(ok, u";", false), before);
  EXPECT_EQ(lib_->GetRight(ok, u";", false), u"y");
  EXPECT_EQ(lib_->GetEnd(ok, u";", false), u"y");
  EXPECT_EQ(lib_->GetLastRight(ok, u";", false), u"y");
  EXPECT_EQ(lib_->GetLastLeft(ok, u";", false), before);
  EXPECT_EQ(lib_->CountItem(ok, u";"), 2);
  EXPECT_EQ(lib_->ReplaceToCRLF(ok, u";"), before + u"\r\ny");
  EXPECT_EQ(lib_->GetRightCount(ok, u";", 2, false), u"y");
  EXPECT_EQ(lib_->GetStringFile(separatorAt(32767, slash)), u"y");

  expectOverflows(over, u";");
  EXPECT_EQ(errorOf([&] { lib_->GetStringFile(separatorAt(32768, slash)); }), kOverflow);
  zv::clearPendingError();

  // The trapped ones: GetLastLeft reports and returns "", GetRightCount returns what it held.
  EXPECT_TRUE(ui_.pointers.empty());
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

TEST_F(StrChrTest, PositionsCountFromTheLastCut) {
  // One gap of 32768 anywhere fails, even when the last separator is close to the end.
  const String gap = u"a;" + separatorAt(32768) + u";z";
  EXPECT_EQ(errorOf([&] { lib_->GetEnd(gap, u";", false); }), kOverflow);
  EXPECT_EQ(errorOf([&] { lib_->GetLastRight(gap, u";", false); }), kOverflow);
  EXPECT_EQ(errorOf([&] { lib_->CountItem(gap, u";"); }), kOverflow);
  EXPECT_EQ(errorOf([&] { lib_->ReplaceToCRLF(gap, u";"); }), kOverflow);
  zv::clearPendingError();
  EXPECT_EQ(lib_->GetLastLeft(gap, u";", false), u"");
  EXPECT_EQ(lib_->GetRightCount(gap, u";", 2, false), u"a");

  const String closeGap = u"a;" + separatorAt(32767) + u";z";
  EXPECT_EQ(lib_->GetEnd(closeGap, u";", false), u"z");
  EXPECT_EQ(lib_->GetLastLeft(closeGap, u";", false), u"a;" + rep(u'x', 32766) + u";y");
  EXPECT_EQ(lib_->CountItem(closeGap, u";"), 4);

  // Two-character separators: the position of the first character counts.
  EXPECT_EQ(lib_->GetLeft(separatorAt(32767, u"||"), u"||", false), rep(u'x', 32766));
  EXPECT_EQ(errorOf([&] { lib_->GetLeft(separatorAt(32768, u"||"), u"||", false); }), kOverflow);
  EXPECT_EQ(lib_->GetLastRight(separatorAt(32767, u"||") + u"||", u"||", false), u"y||");

  // CountItem searches only while the rest is not blank: no position to overflow in a blank
  // rest.
  EXPECT_EQ(lib_->CountItem(u"a;" + rep(u' ', 40000), u";"), 1);
  EXPECT_EQ(errorOf([&] { lib_->CountItem(u"a;" + rep(u' ', 40000) + u";", u";"); }), kOverflow);
  EXPECT_EQ(errorOf([&] { lib_->CountItem(u"a;" + rep(u' ', 40000) + u"b;", u";"); }), kOverflow);
  // Without a further separator the rest counts as one item, however long.
  EXPECT_EQ(lib_->CountItem(u"a;" + rep(u'x', 40000), u";"), 2);
  zv::clearPendingError();
}

TEST_F(StrChrTest, SeparatorLongerThan32767) {
  const String longest = rep(u'y', 32767), tooLong = rep(u'y', 32768);
  const String text = rep(u'x', 70000);
  EXPECT_EQ(lib_->GetLeft(text, longest, false), text);
  EXPECT_EQ(lib_->GetLeft(u"ab" + longest + u"c", longest, true), u"ab");
  EXPECT_EQ(lib_->GetRight(u"ab" + longest + u"c", longest, true), u"c");
  expectOverflows(text, tooLong);
  EXPECT_EQ(lib_->GetLastLeft(text, tooLong, false), u"");
  EXPECT_EQ(lib_->GetRightCount(text, tooLong, 1, false), u"");
  // Nothing to search in: no failure.
  EXPECT_EQ(lib_->GetLeft(u"", tooLong, false), u"");
  EXPECT_EQ(lib_->GetEnd(u"", tooLong, false), u"");
  EXPECT_EQ(lib_->CountItem(u"   ", tooLong), 0);
  EXPECT_EQ(lib_->ReplaceToCRLF(u"", tooLong), u"");
  // CountChar keeps 32-bit positions.
  EXPECT_EQ(lib_->CountChar(text + tooLong, tooLong), 1);
  EXPECT_EQ(lib_->CountChar(separatorAt(40000), u";"), 1);
}

TEST_F(StrChrTest, RemoveExtraSpacesPositionsAreThoseOfTheTextCutSoFar) {
  EXPECT_EQ(lib_->RemoveExtraSpaces(rep(u'x', 32766) + u"  y"), rep(u'x', 32766) + u" y");
  EXPECT_EQ(errorOf([&] { lib_->RemoveExtraSpaces(rep(u'x', 32767) + u"  y"); }), kOverflow);
  // Earlier runs are already single when a later pair is looked for.
  EXPECT_EQ(lib_->RemoveExtraSpaces(u"a" + rep(u' ', 40000) + u"b  c"), u"a b c");
  EXPECT_EQ(lib_->RemoveExtraSpaces(u" " + rep(u' ', 40000) + u"b  c"), u"b c");
  // Trailing blanks are gone after the first cut: never searched.
  const String word = rep(u'x', 40000);
  EXPECT_EQ(lib_->RemoveExtraSpaces(u"a  b" + word + u"   "), u"a b" + word);
  // A trailing run that is the first pair is searched.
  EXPECT_EQ(errorOf([&] { lib_->RemoveExtraSpaces(word + u"   "); }), kOverflow);
  EXPECT_EQ(lib_->RemoveExtraSpaces(rep(u'x', 32766) + u"   "), rep(u'x', 32766));
  // Single blanks beyond 32767 are no pair.
  EXPECT_EQ(lib_->RemoveExtraSpaces(u"a  b " + word + u" c"), u"a b " + word + u" c");
  zv::clearPendingError();
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

String codes(std::initializer_list<uint8_t> list) {
  String s;
  for (uint8_t c : list)
    s += zv::ansiChar(c);
  return s;
}

TEST_F(StrChrTest, Long2String) {
  struct Case {
    int32_t value;
    String expected;
  };
  const std::vector<Case> cases = {
      {0, codes({0, 0, 0, 0})},
      {200, codes({0, 0, 1, 200})},  // 200 / 256 rounds up
      {128, codes({0, 0, 0, 128})},  // 0.5 rounds to even
      {384, codes({0, 0, 2, 128})},  // 1.5 rounds to even
      {0x41424344, u"ABCD"},
      {0x7FFFFFFF, codes({128, 0, 0, 255})},
      {65535, codes({0, 1, 0, 255})},
      {-1, u""},
      {-256, u""},
      {INT32_MIN, u""},
      {static_cast<int32_t>(0x80A0C8E9u), u""},
      {0x00800000, codes({0, 128, 0, 0})},
      {0x0080FFFF, codes({1, 129, 0, 255})},
  };
  for (const Case& c : cases)
    EXPECT_EQ(lib_->Long2String(c.value), c.expected) << c.value;
}

// String2Long leaves its ByRef text alone, and undoes Long2String on texts of four letters.
TEST_F(StrChrTest, String2LongAndRoundTrip) {
  struct Case {
    String text;
    int32_t expected;
  };
  const std::vector<Case> cases = {
      {u"ABCD", 0x41424344},
      {u"ABCDE", 0x41424344},
      {u"AB", 0},
      {u"", 0},
      {u"ABC", 0},
      {codes({0, 0, 1, 200}), 0x1C8},  // hexadecimal without leading zeros: &h001C8
      {codes({255, 255, 255, 255}), -1},
      {codes({128, 0, 0, 0}), 0x80000},
      {codes({16, 16, 16, 16}), 0x10101010},
      {codes({15, 15, 15, 15}), -1},  // four digits read as a 16-bit &hFFFF
      {codes({7, 15, 15, 15}), 0x7FFF},
      {codes({15, 15, 15, 16}), 0xFFF10},
      {u"\u4E00BCD", 0x3F424344},  // no ANSI code: '?'
      {u"\u20ACBCD", static_cast<int32_t>(0x80424344u)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(shown(c.text));
    String text = c.text;
    EXPECT_EQ(lib_->String2Long(text), c.expected);
    EXPECT_EQ(text, c.text);
  }
  for (const String& s :
       {String(u"ABCD"), String(u"Wxyz"), String(u"Az09"), String(u"0000"), String(u"~~~~")}) {
    String text = s;
    EXPECT_EQ(lib_->Long2String(lib_->String2Long(text)), s) << shown(s);
  }
  for (int32_t value : {0x41424344, 0x20202020, 0x7A7A7A7A, 0x10101010}) {
    String text = lib_->Long2String(value);
    EXPECT_EQ(lib_->String2Long(text), value) << value;
  }
}

// ---- Terminator, RemoveAccent, RemoveExtraAccentAndChar, RemoveExtraSpaces, KeepOnly* -----

// Every letter U+00C0 to U+00FF goes, the signs times and divide stay (more in Cleanups).
TEST_F(StrChrTest, RemoveAccent) {
  for (char16_t c = 0xC0; c <= 0xFF; ++c)
    EXPECT_EQ(lib_->RemoveAccent(String(1, c)), c == 0xD7 || c == 0xF7 ? String(1, c) : u"_")
        << int(c);
}

// The text-to-text members, one call a row: what goes, what stays, empty and blank texts.
TEST_F(StrChrTest, Cleanups) {
  using S = zv::StrChr;
  const auto cut = &S::Terminator, safe = &S::RemoveAccent, accents = &S::RemoveExtraAccentAndChar,
             spaces = &S::RemoveExtraSpaces, digits = &S::KeepOnlyNumeric,
             others = &S::KeepOnlyString;
  const String unsafe = u" \t'`()[]{}#~&|-\\/@=+$%!?^:;,.<>*\"\u00B2\u00B0\u00A3\u00A4\u00A7\u00B5";
  // Other signs, controls and letters beyond Latin-1 stay.
  const String kept =
      u"\r\n\u00A1\u00A2\u00A5\u00A9\u00AB\u00B1\u00B3\u00B7\u00BF\u0178\u0153\u20AC";
  const struct {
    String (S::*method)(const String&);
    String input, expected;
  } cases[] = {
      {cut, String(u"abc\0def", 7), u"abc"},
      {cut, String(u"\0abc", 4), u""},
      {cut, u" abc ", u" abc "},
      {cut, u"", u""},
      {safe, u"\u00C9l\u00E8ve n\u00B02 (copie).txt", u"_l_ve_n_2__copie__txt"},
      {safe, u"", u""},
      {safe, u"abcXYZ_0123456789", u"abcXYZ_0123456789"},
      {safe, unsafe, rep(u'_', unsafe.size())},
      {safe, kept, kept},
      {accents, u"\u00C6r\u00F8 Stra\u00DFe", u"AEr_ Strabe"},
      {accents, u"", u""},
      {accents, u"\u00C0\u00C1\u00C2\u00C3\u00C4\u00C5\u00C6\u00C7", u"AAAAAAAEC"},
      {accents, u"\u00C8\u00C9\u00CA\u00CB\u00CC\u00CD\u00CE\u00CF", u"EEEEIIII"},
      {accents, u"\u00D0\u00D1\u00D2\u00D3\u00D4\u00D5\u00D6\u00D7", u"DNOOOOO\u00D7"},
      {accents, u"\u00D8\u00D9\u00DA\u00DB\u00DC\u00DD\u00DE\u00DF", u"_UUUUY_b"},
      {accents, u"\u00E0\u00E1\u00E2\u00E3\u00E4\u00E5\u00E6\u00E7", u"aaaaaaaec"},
      {accents, u"\u00E8\u00E9\u00EA\u00EB\u00EC\u00ED\u00EE\u00EF", u"eeeeiiii"},
      {accents, u"\u00F0\u00F1\u00F2\u00F3\u00F4\u00F5\u00F6\u00F7", u"_nooooo\u00F7"},
      {accents, u"\u00F8\u00F9\u00FA\u00FB\u00FC\u00FD\u00FE\u00FF", u"_uuuuy_y"},
      {accents, u"a\tb", u"a b"},
      {accents, u"\u00B2\u00B0\u00B5\u00A7^", u"_____"},
      {accents, u"\u0178 !?.,;'\"()\u00A3", u"\u0178 !?.,;'\"()\u00A3"},
      {spaces, u"a   b  ", u"a b"},
      {spaces, u" a ", u" a "},  // no pair: nothing is trimmed
      {spaces, u"", u""},
      {spaces, u" ", u" "},
      {spaces, u"  ", u""},
      {spaces, u"  a", u"a"},
      {spaces, u" a  b ", u"a b"},
      {spaces, u"a b  c d", u"a b c d"},
      {spaces, u"a\t\tb  c", u"a\t\tb c"},
      {spaces, u"a \t  b", u"a \t b"},
      {spaces, u"   a   b   c   ", u"a b c"},
      {digits, u"tel: 01-23", u"0123"},
      {others, u"tel: 01-23", u"tel: -"},
      {digits, u"", u""},
      {others, u"", u""},
      {digits, u"1.5e3", u"153"},
      {others, u"1.5e3", u".e"},
      {digits, u"-7,25 \u20AC", u"725"},
      {others, u"-7,25 \u20AC", u"-, \u20AC"},
      {digits, u"\u0661\u00B2x9", u"9"},
      {others, u"\u0661\u00B2x9", u"\u0661\u00B2x"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(((*lib_).*c.method)(c.input), c.expected) << "row " << &c - cases;
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
