// MoneyLib under a point locale (en-US) and a comma locale (fr-FR): amounts read with
// either mark, written with the default and other patterns, the separator kept per
// instance, and late-bound calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "api/MoneyLib.h"
#include "frame/classes.h"
#include "locale_scope.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/object.h"
#include "runtime/vblocale.h"
#include "test_support.h"

using zv::Arg;
using zv::Currency;
using zv::ObjectRef;
using zv::String;
using zv::Variant;

namespace {

using zvtest::kLocales;
using zvtest::UserLocale;

class MoneyLibLocale : public zvtest::LocaleTest {
 protected:
  std::shared_ptr<zv::MoneyLib> money_ = zv::MoneyLib::create();
};

std::string u8(const String& s) {
  return zv::toUtf8(s);
}

TEST_P(MoneyLibLocale, ChangeToDecimalRewritesOneMark) {
  const struct {
    const char16_t* text;
    const char16_t *en, *fr;
  } cases[] = {
      {u"12,5", u"12.5", u"12,5"},
      // A point wins: the commas stay.
      {u"1.234,56", u"1.234,56", u"1,234,56"},
      {u"abc", u"abc", u"abc"},
      {u"   ", u"", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(u8(money_->ChangeToDecimal(c.text)), u8(pick(c.en, c.fr))) << u8(c.text);
}

TEST_P(MoneyLibLocale, GetCurrencyReadsEitherMarkAndGivesZeroForNoNumber) {
  const struct {
    const char16_t* text;
    int64_t en, fr;  // ten-thousandths
  } cases[] = {
      {u"1 234.5", 12345000, 12345000},
      // The no-break space is fr-FR's thousands separator, and no blank to remove.
      {u"1\u00a0234,5", 0, 12345000},
      {u"12,5", 125000, 125000},
      {u"-3.14159", -31416, -31416},
      {u"", 0, 0},
      {u"abc", 0, 0},
      // A group separator after the point is skipped ("1,234,56" is no number).
      {u"1.234,56", 12346, 0},
      {u"1e20", 0, 0},  // beyond Currency: the trap leaves 0
      // Read digit by digit (halves to even), not through a Double.
      {u"0.00015", 2, 2},
      {u"0.00025", 2, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(money_->GetCurrency(c.text).units, pick(c.en, c.fr)) << u8(c.text);
    EXPECT_EQ(zv::pendingError().number, 0);
  }
}

TEST_P(MoneyLibLocale, GetDoubleReadsEitherMark) {
  const struct {
    const char16_t* text;
    double expected;
  } cases[] = {
      {u"1,5", 1.5}, {u"", 0}, {u"abc", 0}, {u"1.234,56", pick(1.23456, 0.0)}, {u"2.5E3", 2500},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(money_->GetDouble(c.text), c.expected) << u8(c.text);
  EXPECT_EQ(zv::pendingError().number, 0);
}

TEST_P(MoneyLibLocale, GetCurrencyFormatGroupsByThreeWithBlanks) {
  const struct {
    Currency amount;
    const char16_t* format;
    const char16_t *en, *fr;
  } cases[] = {
      {Currency{12345678910}, u"", u"1 234 567.89", u"1 234 567,89"},
      {Currency{50}, u"", u"0.01", u"0,01"},  // 0.005: the last decimal rounds half up
      {Currency{15000}, u"0.000", u"1.500", u"1,500"},
      {Currency{12345670}, u"#,##0.00", u"1,234.57", u"1\u00a0234,57"},
      // The minus stays in front of the blanks of the unused groups.
      {Currency{-12345000}, u"", u"-    1 234.50", u"-    1 234,50"},
      // The exact amount, not a Double's 15 digits (more in the shared case table).
      {Currency{INT64_MAX}, u"", u"922 337 203 685 477.58", u"922 337 203 685 477,58"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(u8(money_->GetCurrencyFormat(c.amount, c.format)), u8(pick(c.en, c.fr)))
        << c.amount.units << " " << u8(c.format);
}

TEST_P(MoneyLibLocale, FormatStringsReadThenWrite) {
  using M = zv::MoneyLib;
  const struct {
    String (M::*method)(const String&, const String&);
    const char16_t *text, *format;
    const char16_t *en, *fr;
  } cases[] = {
      {&M::FormatCurrencyString, u"", u"", u"0.00", u"0,00"},
      {&M::FormatCurrencyString, u"1234567,891", u"", u"1 234 567.89", u"1 234 567,89"},
      {&M::FormatCurrencyString, u"12,5", u"0.0", u"12.5", u"12,5"},
      {&M::FormatDoubleString, u"1,5", u"0.00", u"1.50", u"1,50"},
      {&M::FormatDoubleString, u"abc", u"0.00", u"0.00", u"0,00"},
      {&M::FormatDoubleString, u"1 234.5", u"", u"1234.5", u"1234,5"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(u8(((*money_).*c.method)(c.text, c.format)), u8(pick(c.en, c.fr))) << u8(c.text);
}

TEST_P(MoneyLibLocale, GetDoubleFormatUsesTheGivenPatternOnly) {
  const struct {
    double value;
    const char16_t* format;
    const char16_t *en, *fr;
  } cases[] = {
      {1234.5, u"0.00", u"1234.50", u"1234,50"},
      {1234.5, u"", u"1234.5", u"1234,5"},
      {0.125, u"0.00", u"0.13", u"0,13"},
      {1234567.891, u"# ### ### ##0.00", u"1 234 567.89", u"1 234 567,89"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(u8(money_->GetDoubleFormat(c.value, c.format)), u8(pick(c.en, c.fr))) << c.value;
}

TEST_P(MoneyLibLocale, LateBoundCalls) {
  ObjectRef money = zv::createObject(u"ZivoviViruvov.MoneyLib");
  EXPECT_EQ(u8(zv::toString(
                zv::call(money, u"GetCurrencyFormat", {Arg(Variant(Currency{12345678910}))}))),
            pick("1 234 567.89", "1 234 567,89"));
  EXPECT_EQ(u8(zv::toString(
                zv::call(money, u"GetCurrencyFormat",
                         {Arg(Variant(1234567.891)), Arg(Variant(u"0.0")).named(u"theFormat")}))),
            pick("1234567.9", "1234567,9"));
  const Variant amount = zv::call(money, u"GetCurrency", {Arg(Variant(u"1 234,5"))});
  ASSERT_EQ(amount.type(), zv::VarType::Currency);
  EXPECT_EQ(amount.currencyValue().units, 12345000);
  EXPECT_EQ(zvtest::errorOf([&] { zv::call(money, u"GetDoubleFormat", {Arg(Variant(1.0))}); }),
            449);
}

INSTANTIATE_TEST_SUITE_P(MoneyLib, MoneyLibLocale, testing::ValuesIn(kLocales),
                         [](const auto& info) { return std::string(info.param.name); });

// The separator is read at an instance's first need, not at its creation, and kept; the
// formatting follows the locale in force.
TEST(MoneyLib, TheDecimalSeparatorIsReadOncePerInstance) {
  std::shared_ptr<zv::MoneyLib> early, unused;
  {
    UserLocale fr("fr_FR.UTF-8");
    early = zv::MoneyLib::create();
    EXPECT_EQ(u8(early->ChangeToDecimal(u"1.5")), "1,5");
    unused = zv::MoneyLib::create();
  }
  UserLocale en("en_US.UTF-8");
  EXPECT_EQ(u8(early->ChangeToDecimal(u"1.5")), "1,5");
  EXPECT_EQ(u8(early->GetCurrencyFormat(Currency{12345000}, u"")), "1 234,50");
  EXPECT_EQ(u8(unused->ChangeToDecimal(u"1,5")), "1.5");
  EXPECT_EQ(u8(unused->GetCurrencyFormat(Currency{12345000}, u"")), "1 234.50");
}

}  // namespace
