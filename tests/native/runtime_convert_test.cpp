// The VB conversions: CStr's number texts, CBool, rounding CInt/CLng/CByte with their
// overflows, CDbl's number reading, Val, and the locale's decimal separator.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "frame/classes.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "test_support.h"

using zv::Currency;
using zv::Date;
using zv::String;
using zv::Variant;
using zvtest::errorOf;

namespace {

struct TextCase {
  Variant value;
  String text;
};

// CStr: fifteen significant digits of a Double, seven of a Single, up to four decimals of a
// Currency, and the other kinds as VB writes them.
TEST(Convert, ToStringWritesVbTexts) {
  const TextCase cases[] = {
      {Variant(0.1), u"0.1"},
      {Variant(1e15), u"1E+15"},
      {Variant(1e-5), u"1E-05"},
      {Variant(0.0001), u"0.0001"},
      {Variant(123456789012345.0), u"123456789012345"},
      {Variant(999999999999999.0), u"999999999999999"},
      {Variant(1234567890123456.0), u"1.23456789012346E+15"},
      {Variant(-0.5), u"-0.5"},
      {Variant(0.0), u"0"},
      {Variant(-0.0), u"0"},
      {Variant(100.0), u"100"},
      {Variant(1.0 / 3.0), u"0.333333333333333"},
      {Variant(2.0 / 3.0), u"0.666666666666667"},
      {Variant(1e100), u"1E+100"},
      {Variant(-2.5e-10), u"-2.5E-10"},
      {Variant(0.1 + 0.2), u"0.3"},
      {Variant(1.1f), u"1.1"},
      {Variant(0.1f), u"0.1"},
      {Variant(-2.5f), u"-2.5"},
      {Variant(1234567.0f), u"1234567"},
      {Variant(16777216.0f), u"1.677722E+07"},
      {Variant(1e-5f), u"1E-05"},
      {Variant(3.4028235e38f), u"3.402823E+38"},
      {Variant(Currency{0}), u"0"},
      {Variant(Currency{10000}), u"1"},
      {Variant(Currency{15000}), u"1.5"},
      {Variant(Currency{1000}), u"0.1"},
      {Variant(Currency{-1}), u"-0.0001"},
      {Variant(Currency{-12345678}), u"-1234.5678"},
      {Variant(Currency{1230}), u"0.123"},
      {Variant(Currency{std::numeric_limits<int64_t>::max()}), u"922337203685477.5807"},
      {Variant(Currency{std::numeric_limits<int64_t>::min()}), u"-922337203685477.5808"},
      {Variant(true), u"True"},
      {Variant(false), u"False"},
      {Variant(), u""},
      {Variant(int16_t{-32768}), u"-32768"},
      {Variant(int32_t{-2147483647 - 1}), u"-2147483648"},
      {Variant(uint8_t{255}), u"255"},
      {Variant(u"as is "), u"as is "},
      {Variant(Date{0.0}), u"12:00:00 AM"},
      {Variant(Date{0.5}), u"12:00:00 PM"},
      {Variant(Date{1.0}), u"12/31/1899"},
      {Variant(Date{2.5}), u"1/1/1900 12:00:00 PM"},
      {Variant(Date{45292.75}), u"1/1/2024 6:00:00 PM"},
      {Variant(Date{-1.25}), u"12/29/1899 6:00:00 AM"},
  };
  for (const TextCase& c : cases)
    EXPECT_EQ(zv::toString(c.value), c.text) << zv::toUtf8(c.text);
}

TEST(Convert, ToStringRefusesNullObjectsAndErrors) {
  EXPECT_EQ(errorOf([] { zv::toString(Variant::null()); }), zv::err::kInvalidUseOfNull);
  EXPECT_EQ(errorOf([] { zv::toString(Variant(zv::createModel(u"TextBox"))); }),
            zv::err::kTypeMismatch);
  EXPECT_EQ(errorOf([] { zv::toString(Variant::missing()); }), zv::err::kTypeMismatch);
}

struct BooleanCase {
  Variant value;
  bool expected;
  int32_t error;
};

class ToBooleanTest : public testing::TestWithParam<BooleanCase> {};

TEST_P(ToBooleanTest, ReadsWordsAndNumbers) {
  const BooleanCase& c = GetParam();
  bool result = !c.expected;
  EXPECT_EQ(errorOf([&] { result = zv::toBoolean(c.value); }), c.error);
  if (c.error == 0) {
    EXPECT_EQ(result, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Convert, ToBooleanTest,
    testing::Values(BooleanCase{Variant(u"true"), true, 0},
                    BooleanCase{Variant(u" FALSE "), false, 0},
                    BooleanCase{Variant(u"True"), true, 0}, BooleanCase{Variant(u"0"), false, 0},
                    BooleanCase{Variant(u"-1"), true, 0}, BooleanCase{Variant(u"0.5"), true, 0},
                    BooleanCase{Variant(u"abc"), false, zv::err::kTypeMismatch},
                    BooleanCase{Variant(u""), false, zv::err::kTypeMismatch},
                    BooleanCase{Variant(u"yes"), false, zv::err::kTypeMismatch},
                    BooleanCase{Variant(), false, 0}, BooleanCase{Variant(int16_t{2}), true, 0},
                    BooleanCase{Variant(0.0), false, 0},
                    BooleanCase{Variant::null(), false, zv::err::kInvalidUseOfNull}));

enum class Target { Integer, Long, Byte };

struct RoundCase {
  Target target;
  Variant value;
  int64_t expected;
  int32_t error;
};

class RoundingTest : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundingTest, RoundsHalfToEvenWithinRange) {
  const RoundCase& c = GetParam();
  int64_t result = 0;
  const int32_t error = errorOf([&] {
    switch (c.target) {
      case Target::Integer:
        result = zv::toInteger(c.value);
        break;
      case Target::Long:
        result = zv::toLong(c.value);
        break;
      case Target::Byte:
        result = zv::toByte(c.value);
        break;
    }
  });
  EXPECT_EQ(error, c.error);
  if (c.error == 0) {
    EXPECT_EQ(result, c.expected);
  }
}

constexpr int32_t kOverflow = zv::err::kOverflow;

INSTANTIATE_TEST_SUITE_P(
    Convert, RoundingTest,
    testing::Values(RoundCase{Target::Integer, Variant(0.5), 0, 0},
                    RoundCase{Target::Integer, Variant(1.5), 2, 0},
                    RoundCase{Target::Integer, Variant(2.5), 2, 0},
                    RoundCase{Target::Integer, Variant(-2.5), -2, 0},
                    RoundCase{Target::Integer, Variant(-0.5), 0, 0},
                    RoundCase{Target::Integer, Variant(3.5), 4, 0},
                    RoundCase{Target::Integer, Variant(2.5000001), 3, 0},
                    RoundCase{Target::Integer, Variant(32767.4), 32767, 0},
                    RoundCase{Target::Integer, Variant(32767.5), 0, kOverflow},
                    RoundCase{Target::Integer, Variant(int32_t{32768}), 0, kOverflow},
                    RoundCase{Target::Integer, Variant(-32768.5), -32768, 0},
                    RoundCase{Target::Integer, Variant(-32768.51), 0, kOverflow},
                    RoundCase{Target::Integer, Variant(u" 12 "), 12, 0},
                    RoundCase{Target::Integer, Variant(u"1e3"), 1000, 0},
                    RoundCase{Target::Integer, Variant(u"&HFFFF"), -1, 0},
                    RoundCase{Target::Integer, Variant(u"&H8000"), -32768, 0},
                    RoundCase{Target::Integer, Variant(u"&O177777"), -1, 0},
                    RoundCase{Target::Integer, Variant(u"abc"), 0, zv::err::kTypeMismatch},
                    RoundCase{Target::Integer, Variant(u""), 0, zv::err::kTypeMismatch},
                    RoundCase{Target::Integer, Variant(true), -1, 0},
                    RoundCase{Target::Integer, Variant(), 0, 0},
                    RoundCase{Target::Integer, Variant::null(), 0, zv::err::kInvalidUseOfNull},
                    RoundCase{Target::Long, Variant(0.5), 0, 0},
                    RoundCase{Target::Long, Variant(1.5), 2, 0},
                    RoundCase{Target::Long, Variant(2.5), 2, 0},
                    RoundCase{Target::Long, Variant(-2.5), -2, 0},
                    RoundCase{Target::Long, Variant(2147483647.49), 2147483647, 0},
                    RoundCase{Target::Long, Variant(2147483647.5), 0, kOverflow},
                    RoundCase{Target::Long, Variant(-2147483648.5), -2147483648LL, 0},
                    RoundCase{Target::Long, Variant(-2147483649.0), 0, kOverflow},
                    RoundCase{Target::Long, Variant(u"&H80000000"), -2147483648LL, 0},
                    RoundCase{Target::Long, Variant(u"&HFFFFFFFF"), -1, 0},
                    RoundCase{Target::Long, Variant(u"&H100000000"), 0, zv::err::kTypeMismatch},
                    RoundCase{Target::Long, Variant(Currency{25000}), 2, 0},
                    RoundCase{Target::Long, Variant(Currency{35000}), 4, 0},
                    RoundCase{Target::Byte, Variant(254.5), 254, 0},
                    RoundCase{Target::Byte, Variant(255.5), 0, kOverflow},
                    RoundCase{Target::Byte, Variant(-0.5), 0, 0},
                    RoundCase{Target::Byte, Variant(int16_t{-1}), 0, kOverflow},
                    RoundCase{Target::Byte, Variant(int32_t{256}), 0, kOverflow}));

struct NumberText {
  String text;
  double value;
  bool valid;
};

class ParseNumberTest : public testing::TestWithParam<NumberText> {};

TEST_P(ParseNumberTest, ReadsWholeTextOrNothing) {
  const NumberText& c = GetParam();
  const auto parsed = zv::parseNumber(c.text);
  ASSERT_EQ(parsed.has_value(), c.valid);
  if (c.valid) {
    EXPECT_DOUBLE_EQ(*parsed, c.value);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Convert, ParseNumberTest,
    testing::Values(
        NumberText{u"  42  ", 42, true}, NumberText{u"-1.5", -1.5, true},
        NumberText{u"+.5", 0.5, true}, NumberText{u"5.", 5, true}, NumberText{u"1.5e2", 150, true},
        NumberText{u"1.5D-1", 0.15, true}, NumberText{u"1,000.25", 1000.25, true},
        NumberText{u"&hff", 255, true}, NumberText{u"&O10", 8, true}, NumberText{u"", 0, false},
        NumberText{u"   ", 0, false}, NumberText{u".", 0, false}, NumberText{u"-", 0, false},
        NumberText{u"1e", 0, false}, NumberText{u"1 2", 0, false}, NumberText{u"12abc", 0, false},
        NumberText{u"&H", 0, false}, NumberText{u"&HG", 0, false}, NumberText{u"&O8", 0, false},
        NumberText{u"1e999", 0, false}, NumberText{u",5", 0, false}));

struct ValCase {
  String text;
  double value;
};

class ValTest : public testing::TestWithParam<ValCase> {};

TEST_P(ValTest, ReadsLeadingNumber) {
  EXPECT_DOUBLE_EQ(zv::val(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Convert, ValTest,
                         testing::Values(ValCase{u" 1 2 3", 123}, ValCase{u"&HFF", 255},
                                         ValCase{u"1e3x", 1000}, ValCase{u"abc", 0},
                                         ValCase{u"", 0}, ValCase{u"-1.5abc", -1.5},
                                         ValCase{u".5", 0.5}, ValCase{u"1.2.3", 1.2},
                                         ValCase{u"\t12\r\n3", 123}, ValCase{u"12,5", 12},
                                         ValCase{u"1e", 1}, ValCase{u"2d2", 200},
                                         ValCase{u"&O17", 15}, ValCase{u"&HFFFF", -1},
                                         ValCase{u"&H1 0", 16}, ValCase{u"&H", 0}, ValCase{u"&", 0},
                                         ValCase{u"-", 0}, ValCase{u".", 0}, ValCase{u"- 3", -3}));

TEST(Convert, ValOverflowsBeyondDouble) {
  EXPECT_EQ(errorOf([] { zv::val(u"1e999"); }), zv::err::kOverflow);
}

TEST(Convert, OtherTargets) {
  EXPECT_DOUBLE_EQ(zv::toDouble(Variant(u"1,000.5")), 1000.5);
  EXPECT_DOUBLE_EQ(zv::toDouble(Variant(Currency{-12345})), -1.2345);
  EXPECT_DOUBLE_EQ(zv::toDouble(Variant(Date{2.25})), 2.25);
  EXPECT_EQ(zv::toCurrency(Variant(2.5)), Currency{25000});
  EXPECT_EQ(zv::toCurrency(Variant(u"-1.5")), Currency{-15000});
  EXPECT_EQ(errorOf([] { zv::toCurrency(Variant(1e15)); }), zv::err::kOverflow);
  EXPECT_EQ(errorOf([] { zv::toSingle(Variant(1e39)); }), zv::err::kOverflow);
  EXPECT_FLOAT_EQ(zv::toSingle(Variant(u"0.25")), 0.25f);
  EXPECT_EQ(zv::toDate(Variant(u"1/1/2000")), Date{36526});
  EXPECT_EQ(errorOf([] { zv::toDate(Variant(u"1/1/2000 x")); }), zv::err::kTypeMismatch);
  EXPECT_EQ(zv::toObject(Variant()), nullptr);
  EXPECT_EQ(errorOf([] { zv::toObject(Variant(int32_t{1})); }), zv::err::kTypeMismatch);
}

TEST(Convert, RoundHalfEven) {
  EXPECT_EQ(zv::roundHalfEven(0.5), 0);
  EXPECT_EQ(zv::roundHalfEven(1.5), 2);
  EXPECT_EQ(zv::roundHalfEven(-1.5), -2);
  EXPECT_EQ(zv::roundHalfEven(-0.4), 0);
  EXPECT_EQ(zv::roundHalfEven(1e300), 1e300);
}

TEST(Convert, VarTypeAndTypeName) {
  EXPECT_EQ(zv::varTypeNumber(Variant()), 0);
  EXPECT_EQ(zv::varTypeNumber(Variant::null()), 1);
  EXPECT_EQ(zv::varTypeNumber(Variant(int16_t{1})), 2);
  EXPECT_EQ(zv::varTypeNumber(Variant(int32_t{1})), 3);
  EXPECT_EQ(zv::varTypeNumber(Variant(1.0f)), 4);
  EXPECT_EQ(zv::varTypeNumber(Variant(1.0)), 5);
  EXPECT_EQ(zv::varTypeNumber(Variant(Currency{})), 6);
  EXPECT_EQ(zv::varTypeNumber(Variant(Date{})), 7);
  EXPECT_EQ(zv::varTypeNumber(Variant(u"")), 8);
  EXPECT_EQ(zv::varTypeNumber(Variant::nothing()), 9);
  EXPECT_EQ(zv::varTypeNumber(Variant::missing()), 10);
  EXPECT_EQ(zv::varTypeNumber(Variant(false)), 11);
  EXPECT_EQ(zv::varTypeNumber(Variant(uint8_t{1})), 17);
  EXPECT_EQ(
      zv::varTypeNumber(Variant(zv::SafeArray::vector(zv::VarType::String, 0, {Variant(u"a")}))),
      0x2008);
  EXPECT_EQ(zv::typeName(Variant::nothing()), u"Nothing");
  EXPECT_EQ(zv::typeName(Variant(zv::createModel(u"listbox"))), u"ListBox");
  EXPECT_EQ(zv::typeName(Variant(Currency{})), u"Currency");
  EXPECT_TRUE(Variant::missing().isMissing());
  EXPECT_FALSE(Variant::error(5).isMissing());
}

}  // namespace

// CCur of text keeps every digit: halves to even on the fourth decimal, and the range ends
// exactly at the Currency limits.
TEST(CurrencyText, ReadsDigitsExactly) {
  struct Case {
    const char16_t* text;
    int64_t units;
  } cases[] = {{u"0.00015", 2},
               {u"0.00025", 2},
               {u"0.000250001", 3},
               {u"-0.00015", -2},
               {u"1.5E-4", 2},
               {u"12.34", 123400},
               {u"922337203685477.5807", INT64_MAX},
               {u"-922337203685477.5808", INT64_MIN},
               {u"-922337203685477.58085", INT64_MIN},
               {u"1E-30", 0},
               {u"&HFF", 2550000}};
  for (const Case& c : cases)
    EXPECT_EQ(zv::toCurrency(zv::Variant(zv::String(c.text))).units, c.units) << zv::toUtf8(c.text);
  for (const char16_t* tooLarge : {u"922337203685477.5808", u"-922337203685477.58086", u"1E+300"}) {
    try {
      zv::toCurrency(zv::Variant(zv::String(tooLarge)));
      ADD_FAILURE() << zv::toUtf8(tooLarge);
    } catch (const zv::Error& e) {
      EXPECT_EQ(e.number(), 6);
    }
  }
}
