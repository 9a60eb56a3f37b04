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

struct TrimCase {
  String text, trimmed, left, right;
};

class TrimTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, RemovesSpacesOnly) {
  const TrimCase& c = GetParam();
  EXPECT_EQ(zv::trim(c.text), c.trimmed);
  EXPECT_EQ(zv::ltrim(c.text), c.left);
  EXPECT_EQ(zv::rtrim(c.text), c.right);
  EXPECT_EQ(zv::isBlank(c.text), c.trimmed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Text, TrimTest,
    testing::Values(TrimCase{u"", u"", u"", u""}, TrimCase{u"   ", u"", u"", u""},
                    TrimCase{u"  a b  ", u"a b", u"a b  ", u"  a b"},
                    TrimCase{u"\tx\t", u"\tx\t", u"\tx\t", u"\tx\t"},
                    TrimCase{u" \r\n ", u"\r\n", u"\r\n ", u" \r\n"},
                    TrimCase{u"\u00A0x ", u"\u00A0x", u"\u00A0x ", u"\u00A0x"}));

struct InstrCase {
  String text, what;
  int64_t start, expected;
};

class InstrTest : public testing::TestWithParam<InstrCase> {};

TEST_P(InstrTest, FindsOneBasedPosition) {
  const InstrCase& c = GetParam();
  EXPECT_EQ(zv::instr(c.text, c.what, c.start), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, InstrTest,
    testing::Values(InstrCase{u"abcabc", u"c", 1, 3}, InstrCase{u"abcabc", u"c", 4, 6},
                    InstrCase{u"abcabc", u"c", 7, 0}, InstrCase{u"abcabc", u"abc", 2, 4},
                    InstrCase{u"abc", u"d", 1, 0}, InstrCase{u"abc", u"", 2, 2},
                    InstrCase{u"abc", u"", 4, 4}, InstrCase{u"abc", u"", 5, 0},
                    InstrCase{u"", u"", 1, 1}, InstrCase{u"", u"a", 1, 0},
                    InstrCase{u"aBc", u"b", 1, 0}));

TEST(Text, InstrRefusesStartBelowOne) {
  EXPECT_EQ(errorOf([] { zv::instr(u"abc", u"a", 0); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([] { zv::instr(u"abc", u"a", -1); }), zv::err::kInvalidCall);
}

TEST(Text, InstrRevFindsLastOccurrence) {
  EXPECT_EQ(zv::instrRev(u"abcabc", u"bc"), 5);
  EXPECT_EQ(zv::instrRev(u"abcabc", u"a"), 4);
  EXPECT_EQ(zv::instrRev(u"abcabc", u"x"), 0);
  EXPECT_EQ(zv::instrRev(u"", u"x"), 0);
}

TEST(Text, LeftRightMidClampCounts) {
  EXPECT_EQ(zv::left(u"abc", 0), u"");
  EXPECT_EQ(zv::left(u"abc", 2), u"ab");
  EXPECT_EQ(zv::left(u"abc", 99), u"abc");
  EXPECT_EQ(zv::right(u"abc", 2), u"bc");
  EXPECT_EQ(zv::right(u"abc", 99), u"abc");
  EXPECT_EQ(zv::right(u"abc", 0), u"");
  EXPECT_EQ(zv::mid(u"abcdef", 3), u"cdef");
  EXPECT_EQ(zv::mid(u"abcdef", 3, 2), u"cd");
  EXPECT_EQ(zv::mid(u"abcdef", 5, 99), u"ef");
  EXPECT_EQ(zv::mid(u"abcdef", 6, 0), u"");
  EXPECT_EQ(zv::mid(u"abc", 4), u"");
  EXPECT_EQ(zv::mid(u"abc", 99, 1), u"");
}

TEST(Text, NegativeCountsAndStartsAreInvalidCalls) {
  EXPECT_EQ(errorOf([] { zv::left(u"abc", -1); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([] { zv::right(u"abc", -1); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([] { zv::mid(u"abc", 0); }), zv::err::kInvalidCall);
  EXPECT_EQ(errorOf([] { zv::repeat(u'x', -1); }), zv::err::kInvalidCall);
}

struct CaseCase {
  String lower, upper;
};

class CaseTest : public testing::TestWithParam<CaseCase> {};

TEST_P(CaseTest, ConvertsBothWays) {
  const CaseCase& c = GetParam();
  EXPECT_EQ(zv::ucase(c.lower), c.upper);
  EXPECT_EQ(zv::lcase(c.upper), c.lower);
  EXPECT_TRUE(zv::equalsNoCase(c.lower, c.upper));
}

INSTANTIATE_TEST_SUITE_P(
    Text, CaseTest,
    testing::Values(CaseCase{u"abc xyz 09", u"ABC XYZ 09"},
                    CaseCase{u"\u00E0\u00E9\u00EE\u00F5\u00FC\u00FE",
                             u"\u00C0\u00C9\u00CE\u00D5\u00DC\u00DE"},
                    CaseCase{u"\u00FF", u"\u0178"},
                    CaseCase{u"\u0101\u0107\u0142\u0144\u0153\u0161\u017A\u017E",
                             u"\u0100\u0106\u0141\u0143\u0152\u0160\u0179\u017D"},
                    CaseCase{u"\u03B1\u03B2\u03C9", u"\u0391\u0392\u03A9"},
                    CaseCase{u"\u0430\u044F\u0451\u045F", u"\u0410\u042F\u0401\u040F"}));

TEST(Text, CaseLeavesCaselessCharactersAlone) {
  // Sharp s, division and multiplication signs, dotless i, kra.
  const String caseless = u"\u00DF\u00F7\u00D7\u0131\u0138\u20AC1-";
  EXPECT_EQ(zv::ucase(caseless), caseless);
  EXPECT_EQ(zv::lcase(caseless), caseless);
}

TEST(Text, EqualsNoCase) {
  EXPECT_TRUE(zv::equalsNoCase(u"CheckPath", u"CHECKPATH"));
  EXPECT_TRUE(zv::equalsNoCase(u"", u""));
  EXPECT_FALSE(zv::equalsNoCase(u"abc", u"abcd"));
  EXPECT_FALSE(zv::equalsNoCase(u"Stra\u00DFe", u"STRASSE"));
  EXPECT_FALSE(zv::equalsNoCase(u"a", u"\u00E0"));
}

struct Int16Case {
  int64_t value;
  int32_t error;
};

class Integer16Test : public testing::TestWithParam<Int16Case> {};

TEST_P(Integer16Test, OverflowsBeyondItsRange) {
  const Int16Case& c = GetParam();
  int16_t result = 0;
  EXPECT_EQ(errorOf([&] { result = zv::toInteger16(c.value); }), c.error);
  if (c.error == 0) {
    EXPECT_EQ(result, c.value);
  }
}

INSTANTIATE_TEST_SUITE_P(Text, Integer16Test,
                         testing::Values(Int16Case{0, 0}, Int16Case{32767, 0},
                                         Int16Case{32768, zv::err::kOverflow}, Int16Case{-32768, 0},
                                         Int16Case{-32769, zv::err::kOverflow},
                                         Int16Case{65535, zv::err::kOverflow},
                                         Int16Case{INT64_MIN, zv::err::kOverflow}));

TEST(Text, RepeatAndReplace) {
  EXPECT_EQ(zv::repeat(u'-', 3), u"---");
  EXPECT_EQ(zv::repeat(u'-', 0), u"");
  EXPECT_EQ(zv::replaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(zv::replaceAll(u"a.b.c", u".", u".."), u"a..b..c");
  EXPECT_EQ(zv::replaceAll(u"abc", u"b", u""), u"ac");
  EXPECT_EQ(zv::replaceAll(u"abc", u"x", u"y"), u"abc");
  EXPECT_EQ(zv::replaceAll(u"", u"x", u"y"), u"");
}

TEST(Text, Utf8RoundTripsEveryPlane) {
  const String text = u"a\u00E9\u20AC\U0001F600z";
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
  EXPECT_EQ(zv::toUtf8(text), utf8);
  EXPECT_EQ(zv::fromUtf8(utf8), text);
}

TEST(Text, Utf8ReplacesWhatItCannotEncodeOrDecode) {
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
