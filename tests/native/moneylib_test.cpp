// MoneyLib under a point locale (en-US) and a comma locale (fr-FR): amounts read with
// either mark as Currency, and the separator kept per instance (the other single calls:
// tests/cases/money.tsv).
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

// A Currency result (the other members: tests/cases/money.tsv, whose locale runs cannot
// carry one).
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
  const Variant amount = zv::call(zv::createObject(u"ZivoviViruvov.MoneyLib"), u"GetCurrency",
                                  {Arg(Variant(u"1 234,5"))});
  ASSERT_EQ(amount.type(), zv::VarType::Currency);
  EXPECT_EQ(amount.currencyValue().units, 12345000);
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
