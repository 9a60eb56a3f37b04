// Text helpers with VB's meanings: blanks, 1-based positions, clamping, case, 16-bit limits.
#include <gtest/gtest.h>

#include <string>

#include "runtime/errors.h"
#include "runtime/text.h"
#include "test_support.h"

using namespace std::string_literals;
using zv::String;
using zvtest::errorOf;

namespace {

// Only spaces are blanks: tabs, line ends and no-break spaces stay.
TEST(Text, TrimRemovesSpacesOnly) {
  struct Case {
    String text, trimmed, left, right;
  };
  const Case cases[] = {
      {u"", u"", u"", u""},
      {u"   ", u"", u"", u""},
      {u"  a b  ", u"a b", u"a b  ", u"  a b"},
      {u"\tx\t", u"\tx\t", u"\tx\t", u"\tx\t"},
      {u" \r\n ", u"\r\n", u"\r\n ", u" \r\n"},
      {u"\u00A0x ", u"\u00A0x", u"\u00A0x ", u"\u00A0x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(zv::toUtf8(c.text));
    EXPECT_EQ(zv::trim(c.text), c.trimmed);
    EXPECT_EQ(zv::ltrim(c.text), c.left);
    EXPECT_EQ(zv::rtrim(c.text), c.right);
    EXPECT_EQ(zv::isBlank(c.text), c.trimmed.empty());
  }
}

TEST(Text, InstrFindsOneBasedPositions) {
  struct Case {
    String text, what;
    int64_t start, expected;
  };
  const Case cases[] = {{u"abcabc", u"c", 1, 3}, {u"abcabc", u"c", 4, 6},   {u"abcabc", u"c", 7, 0},
                        {u"abc", u"d", 1, 0},    {u"abcabc", u"abc", 2, 4}, {u"abc", u"", 2, 2},
                        {u"abc", u"", 4, 4},     {u"abc", u"", 5, 0},       {u"", u"", 1, 1},
                        {u"", u"a", 1, 0},       {u"aBc", u"b", 1, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(zv::instr(c.text, c.what, c.start), c.expected)
        << zv::toUtf8(c.text) << " " << zv::toUtf8(c.what) << " " << c.start;
  EXPECT_EQ(errorOf([] { zv::instr(u"abc", u"a", 0); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([] { zv::instr(u"abc", u"a", -1); }), zv::err::kInvalidCall);
  EXPECT_EQ(zv::instrRev(u"abcabc", u"bc"), 5);
  EXPECT_EQ(zv::instrRev(u"abcabc", u"x"), 0);
  EXPECT_EQ(zv::instrRev(u"", u"x"), 0);
}

TEST(Text, LeftRightMidClampCounts) {
  const String abc = u"abc";
  for (const auto& [count, left, right] :
       {std::tuple<int64_t, String, String>{0, u"", u""}, {2, u"ab", u"bc"}, {99, abc, abc}}) {
    EXPECT_EQ(zv::left(abc, count), left) << count;
    EXPECT_EQ(zv::right(abc, count), right) << count;
  }
  EXPECT_EQ(zv::mid(u"abcdef", 3), u"cdef");
  EXPECT_EQ(zv::mid(u"abcdef", 3, 2), u"cd");
  EXPECT_EQ(zv::mid(u"abcdef", 5, 99), u"ef");
  EXPECT_EQ(zv::mid(u"abcdef", 6, 0), u"");
  EXPECT_EQ(zv::mid(u"abc", 4), u"");
  EXPECT_EQ(zv::mid(u"abc", 99, 1), u"");
  // Negative counts and starts below one are invalid calls.
  EXPECT_EQ(errorOf([] { zv::left(u"abc", -1); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([] { zv::right(u"abc", -1); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([] { zv::mid(u"abc", 0); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([] { zv::repeat(u'x', -1); }), zv::err::kInvalidCall);
}

TEST(Text, CaseConvertsBothWays) {
  const std::pair<String, String> cases[] = {
      {u"abc xyz 09", u"ABC XYZ 09"},
      {u"\u00E0\u00E9\u00EE\u00F5\u00FC\u00FE", u"\u00C0\u00C9\u00CE\u00D5\u00DC\u00DE"},
      {u"\u00FF", u"\u0178"},
      {u"\u0101\u0107\u0142\u0144\u0153\u0161\u017A\u017E",
       u"\u0100\u0106\u0141\u0143\u0152\u0160\u0179\u017D"},
      {u"\u03B1\u03B2\u03C9", u"\u0391\u0392\u03A9"},
      {u"\u0430\u044F\u0451\u045F", u"\u0410\u042F\u0401\u040F"},
  };
  for (const auto& [lower, upper] : cases) {
    SCOPED_TRACE(zv::toUtf8(lower));
    EXPECT_EQ(zv::ucase(lower), upper);
    EXPECT_EQ(zv::lcase(upper), lower);
    EXPECT_TRUE(zv::equalsNoCase(lower, upper));
  }
  // Sharp s, division and multiplication signs, dotless i, kra.
  const String caseless = u"\u00DF\u00F7\u00D7\u0131\u0138\u20AC1-";
  EXPECT_EQ(zv::ucase(caseless), caseless);
  EXPECT_EQ(zv::lcase(caseless), caseless);
  EXPECT_TRUE(zv::equalsNoCase(u"", u""));
  EXPECT_FALSE(zv::equalsNoCase(u"abc", u"abcd"));
  EXPECT_FALSE(zv::equalsNoCase(u"Stra\u00DFe", u"STRASSE"));
  EXPECT_FALSE(zv::equalsNoCase(u"a", u"\u00E0"));
}

TEST(Text, Integer16OverflowsBeyondItsRange) {
  for (int64_t value : {0, 32767, -32768})
    EXPECT_EQ(zv::toInteger16(value), value);
  for (int64_t value : {int64_t{32768}, int64_t{-32769}, int64_t{65535}, INT64_MIN})
    EXPECT_EQ(errorOf([&] { zv::toInteger16(value); }), zv::err::kOverflow) << value;
}

TEST(Text, RepeatAndReplace) {
  EXPECT_EQ(zv::repeat(u'-', 3), u"---");
  EXPECT_EQ(zv::repeat(u'-', 0), u"");
  EXPECT_EQ(zv::replaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(zv::replaceAll(u"a.b.c", u".", u".."), u"a..b..c");
  EXPECT_EQ(zv::replaceAll(u"abc", u"b", u""), u"ac");
  EXPECT_EQ(zv::replaceAll(u"abc", u"x", u"y"), u"abc");
  EXPECT_EQ(zv::replaceAll(u"", u"x", u"y"), u"");
}

TEST(Text, Utf8RoundTripsEveryPlaneAndReplacesWhatItCannotEncodeOrDecode) {
  const String text = u"a\u00E9\u20AC\U0001F600z";
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
  EXPECT_EQ(zv::toUtf8(text), utf8);
  EXPECT_EQ(zv::fromUtf8(utf8), text);
  // Lone surrogates, either half.
  EXPECT_EQ(zv::toUtf8(u"a\xD800"s + u"b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(zv::toUtf8(u"\xDC00"s), "\xEF\xBF\xBD");
  // A stray continuation byte, a truncated sequence and an interrupted one.
  EXPECT_EQ(zv::fromUtf8("a\x80z"), u"a\uFFFDz");
  EXPECT_EQ(zv::fromUtf8("\xE2\x82"), u"\uFFFD");
  EXPECT_EQ(zv::fromUtf8("\xE2\x82z"), u"\uFFFDz");
}

}  // namespace
