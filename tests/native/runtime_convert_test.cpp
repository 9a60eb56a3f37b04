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

constexpr int32_t kOverflow = zv::err::kOverflow;
constexpr int32_t kMismatch = zv::err::kTypeMismatch;
constexpr int32_t kNull = zv::err::kInvalidUseOfNull;

// CStr: fifteen significant digits of a Double, seven of a Single, up to four decimals of a
// Currency, and the other kinds as VB writes them (dates: format_test.cpp).
TEST(Convert, ToStringWritesVbTexts) {
  struct Case {
    Variant value;
    String text;
  };
  const Case cases[] = {
      {Variant(0.1), u"0.1"},
      {Variant(1e15), u"1E+15"},
      {Variant(1e-5), u"1E-05"},
      {Variant(0.0001), u"0.0001"},
      {Variant(123456789012345.0), u"123456789012345"},
      {Variant(999999999999999.0), u"999999999999999"},
      {Variant(1234567890123456.0), u"1.23456789012346E+15"},
      {Variant(-0.5), u"-0.5"},
      {Variant(-0.0), u"0"},
      {Variant(100.0), u"100"},
      {Variant(2.0 / 3.0), u"0.666666666666667"},
      {Variant(-2.5e-10), u"-2.5E-10"},
      {Variant(0.1 + 0.2), u"0.3"},
      {Variant(1.1f), u"1.1"},
      {Variant(1234567.0f), u"1234567"},
      {Variant(16777216.0f), u"1.677722E+07"},
      {Variant(1e-5f), u"1E-05"},
      {Variant(3.4028235e38f), u"3.402823E+38"},
      {Variant(Currency{10000}), u"1"},
      {Variant(Currency{15000}), u"1.5"},
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
      {Variant(u"as is "), u"as is "}};
  for (const Case& c : cases)
    EXPECT_EQ(zv::toString(c.value), c.text) << zv::toUtf8(c.text);
  EXPECT_EQ(errorOf([] { zv::toString(Variant::null()); }), kNull);
  EXPECT_EQ(errorOf([] { zv::toString(Variant(zv::createModel(u"TextBox"))); }), kMismatch);
  EXPECT_EQ(errorOf([] { zv::toString(Variant::missing()); }), kMismatch);
}

TEST(Convert, ToBooleanReadsWordsAndNumbers) {
  struct Case {
    Variant value;
    bool expected;
    int32_t error;
  };
  const Case cases[] = {
      {Variant(u"true"), true, 0},
      {Variant(u" FALSE "), false, 0},
      {Variant(u"0"), false, 0},
      {Variant(u"0.5"), true, 0},
      {Variant(), false, 0},
      {Variant(int16_t{2}), true, 0},
      {Variant(u"abc"), false, kMismatch},
      {Variant(u""), false, kMismatch},
      {Variant::null(), false, kNull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(zv::toUtf8(zv::typeName(c.value)));
    bool result = !c.expected;
    EXPECT_EQ(errorOf([&] { result = zv::toBoolean(c.value); }), c.error);
    if (c.error == 0) {
      EXPECT_EQ(result, c.expected);
    }
  }
}

// CInt, CLng and CByte round half to even and overflow beyond their range.
TEST(Convert, RoundsHalfToEvenWithinRange) {
  enum class T { Integer, Long, Byte };
  struct Case {
    T target;
    Variant value;
    int64_t expected;
    int32_t error;
  };
  const Case cases[] = {{T::Integer, Variant(0.5), 0, 0},
                        {T::Integer, Variant(1.5), 2, 0},
                        {T::Integer, Variant(2.5), 2, 0},
                        {T::Integer, Variant(-2.5), -2, 0},
                        {T::Integer, Variant(2.5000001), 3, 0},
                        {T::Integer, Variant(32767.4), 32767, 0},
                        {T::Integer, Variant(32767.5), 0, kOverflow},
                        {T::Integer, Variant(int32_t{32768}), 0, kOverflow},
                        {T::Integer, Variant(-32768.5), -32768, 0},
                        {T::Integer, Variant(-32768.51), 0, kOverflow},
                        {T::Integer, Variant(u" 12 "), 12, 0},
                        {T::Integer, Variant(u"1e3"), 1000, 0},
                        {T::Integer, Variant(u"&HFFFF"), -1, 0},
                        {T::Integer, Variant(u"&H8000"), -32768, 0},
                        {T::Integer, Variant(u"&O177777"), -1, 0},
                        {T::Integer, Variant(u"abc"), 0, kMismatch},
                        {T::Integer, Variant(true), -1, 0},
                        {T::Integer, Variant(), 0, 0},
                        {T::Integer, Variant::null(), 0, kNull},
                        {T::Long, Variant(2.5), 2, 0},
                        {T::Long, Variant(2147483647.49), 2147483647, 0},
                        {T::Long, Variant(2147483647.5), 0, kOverflow},
                        {T::Long, Variant(-2147483648.5), -2147483648LL, 0},
                        {T::Long, Variant(-2147483649.0), 0, kOverflow},
                        {T::Long, Variant(u"&H80000000"), -2147483648LL, 0},
                        {T::Long, Variant(u"&HFFFFFFFF"), -1, 0},
                        {T::Long, Variant(u"&H100000000"), 0, kMismatch},
                        {T::Long, Variant(Currency{25000}), 2, 0},
                        {T::Long, Variant(Currency{35000}), 4, 0},
                        {T::Byte, Variant(254.5), 254, 0},
                        {T::Byte, Variant(255.5), 0, kOverflow},
                        {T::Byte, Variant(-0.5), 0, 0},
                        {T::Byte, Variant(int16_t{-1}), 0, kOverflow},
                        {T::Byte, Variant(int32_t{256}), 0, kOverflow}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    int64_t result = 0;
    const int32_t error = errorOf([&] {
      result = c.target == T::Integer ? zv::toInteger(c.value)
               : c.target == T::Long  ? zv::toLong(c.value)
                                      : zv::toByte(c.value);
    });
    EXPECT_EQ(error, c.error);
    if (c.error == 0) {
      EXPECT_EQ(result, c.expected);
    }
  }
}

// parseNumber reads the whole text or nothing; Val reads the number the text begins with.
TEST(Convert, ParseNumberAndVal) {
  struct Case {
    String text;
    std::optional<double> parsed;
    double val;
  };
  const Case cases[] = {
      {u"  42  ", 42, 42},
      {u"-1.5", -1.5, -1.5},
      {u"+.5", 0.5, 0.5},
      {u"5.", 5, 5},
      {u"1.5e2", 150, 150},
      {u"1.5D-1", 0.15, 0.15},
      {u"1,000.25", 1000.25, 1},
      {u"&hff", 255, 255},
      {u"&O10", 8, 8},
      {u"", {}, 0},
      {u"   ", {}, 0},
      {u".", {}, 0},
      {u"-", {}, 0},
      {u"1e", {}, 1},
      {u"1 2", {}, 12},
      {u"12abc", {}, 12},
      {u"&H", {}, 0},
      {u"&HG", {}, 0},
      {u"&O8", {}, 0},
      {u",5", {}, 0},
      {u"-1.5abc", {}, -1.5},
      {u"1.2.3", {}, 1.2},
      {u"\t12\r\n3", {}, 123},
      {u"2d2", 200, 200},
      {u"&O17", 15, 15},
      {u"&HFFFF", -1, -1},
      {u"&H1 0", {}, 16},
      {u"&", {}, 0},
      {u"- 3", -3, -3},
      {u"1e3x", {}, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(zv::toUtf8(c.text));
    const auto parsed = zv::parseNumber(c.text);
    ASSERT_EQ(parsed.has_value(), c.parsed.has_value());
    if (parsed) {
      EXPECT_DOUBLE_EQ(*parsed, *c.parsed);
    }
    EXPECT_DOUBLE_EQ(zv::val(c.text), c.val);
  }
  EXPECT_FALSE(zv::parseNumber(u"1e999"));
  EXPECT_EQ(errorOf([] { zv::val(u"1e999"); }), kOverflow);
}

TEST(Convert, OtherTargets) {
  EXPECT_DOUBLE_EQ(zv::toDouble(Variant(u"1,000.5")), 1000.5);
  EXPECT_DOUBLE_EQ(zv::toDouble(Variant(Currency{-12345})), -1.2345);
  EXPECT_DOUBLE_EQ(zv::toDouble(Variant(Date{2.25})), 2.25);
  EXPECT_EQ(errorOf([] { zv::toSingle(Variant(1e39)); }), kOverflow);
  EXPECT_FLOAT_EQ(zv::toSingle(Variant(u"0.25")), 0.25f);
  EXPECT_EQ(zv::toDate(Variant(u"1/1/2000")), Date{36526});
  EXPECT_EQ(errorOf([] { zv::toDate(Variant(u"1/1/2000 x")); }), kMismatch);
  EXPECT_EQ(zv::toObject(Variant()), nullptr);
  EXPECT_EQ(errorOf([] { zv::toObject(Variant(int32_t{1})); }), kMismatch);
}

// CCur of a Double rounds the value itself, not its product by 10000 (0.00015 is just below
// the half, 0.00005 just above it); CCur of text keeps every digit, halves to even on the
// fourth decimal and ends exactly at the Currency limits.
TEST(Convert, CurrencyRoundsTheDoubleAndReadsTextDigitsExactly) {
  const std::pair<double, int64_t> doubles[] = {{0.00015, 1},     {0.00005, 1},   {0.00025, 3},
                                                {1.00005, 10001}, {-2.5, -25000}, {2.5, 25000}};
  for (const auto& [value, units] : doubles)
    EXPECT_EQ(zv::toCurrency(Variant(value)), Currency{units}) << value;
  const std::pair<const char16_t*, int64_t> texts[] = {{u"0.00015", 2},
                                                       {u"0.00025", 2},
                                                       {u"0.000250001", 3},
                                                       {u"-0.00015", -2},
                                                       {u"1.5E-4", 2},
                                                       {u"12.34", 123400},
                                                       {u"-1.5", -15000},
                                                       {u"922337203685477.5807", INT64_MAX},
                                                       {u"-922337203685477.5808", INT64_MIN},
                                                       {u"-922337203685477.58085", INT64_MIN},
                                                       {u"1E-30", 0},
                                                       {u"&HFF", 2550000}};
  for (const auto& [text, units] : texts)
    EXPECT_EQ(zv::toCurrency(Variant(String(text))).units, units) << zv::toUtf8(text);
  for (const Variant& tooLarge : {Variant(1e15), Variant(u"922337203685477.5808"),
                                  Variant(u"-922337203685477.58086"), Variant(u"1E+300")})
    EXPECT_EQ(errorOf([&] { zv::toCurrency(tooLarge); }), kOverflow)
        << zv::toUtf8(zv::toString(tooLarge));
}

TEST(Convert, VarTypeAndTypeName) {
  const std::pair<Variant, int32_t> cases[] = {
      {Variant(), 0},
      {Variant::null(), 1},
      {Variant(int16_t{1}), 2},
      {Variant(int32_t{1}), 3},
      {Variant(1.0f), 4},
      {Variant(1.0), 5},
      {Variant(Currency{}), 6},
      {Variant(Date{}), 7},
      {Variant(u""), 8},
      {Variant::nothing(), 9},
      {Variant::missing(), 10},
      {Variant(false), 11},
      {Variant(uint8_t{1}), 17},
      {Variant(zv::SafeArray::vector(zv::VarType::String, 0, {Variant(u"a")})), 0x2008}};
  for (const auto& [value, number] : cases)
    EXPECT_EQ(zv::varTypeNumber(value), number);
  EXPECT_EQ(zv::typeName(Variant::nothing()), u"Nothing");
  EXPECT_EQ(zv::typeName(Variant(zv::createModel(u"listbox"))), u"ListBox");
  EXPECT_EQ(zv::typeName(Variant(Currency{})), u"Currency");
  EXPECT_FALSE(Variant::error(5).isMissing());
}

}  // namespace
