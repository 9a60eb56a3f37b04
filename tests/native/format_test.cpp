// Format, the Format* functions and the VB conversions of text under two user locales,
// en-US and fr-FR, read from LANG as the library reads it.
#include <gtest/gtest.h>

#include <optional>

#include "locale_scope.h"
#include "runtime/convert.h"
#include "runtime/format.h"
#include "runtime/vbdate.h"
#include "test_support.h"

namespace {

using zv::Currency;
using zv::Date;
using zv::String;
using zv::Variant;
using zvtest::errorOf;

constexpr const char* kUs = "en_US.UTF-8";
constexpr const char* kFr = "fr_FR.UTF-8";

// 2024-12-25 13:05:09, a Wednesday.
Date christmas() {
  return *zv::makeDate(2024, 12, 25, 13, 5, 9);
}

struct FormatCase {
  double value;
  const char16_t* pattern;
  const char16_t* us;
  const char16_t* fr;
};

const FormatCase kNumbers[] = {
    {1234567.891, u"General Number", u"1234567.891", u"1234567,891"},
    {1234567.891, u"Currency", u"$1,234,567.89", u"1\u00A0234\u00A0567,89 \u20AC"},
    {-1234.5, u"Currency", u"($1,234.50)", u"(1\u00A0234,50 \u20AC)"},
    {1234567.891, u"Fixed", u"1234567.89", u"1234567,89"},
    {1234567.891, u"Standard", u"1,234,567.89", u"1\u00A0234\u00A0567,89"},
    {0.12345, u"Percent", u"12.35%", u"12,35%"},
    {1234567.891, u"Scientific", u"1.23E+06", u"1,23E+06"},
    {0.000123, u"scientific", u"1.23E-04", u"1,23E-04"},
    {-3, u"Yes/No", u"Yes", u"Yes"},
    {1, u"True/False", u"True", u"True"},
    {0, u"On/Off", u"Off", u"Off"},
    // The money pattern: blanks are literals, "." the locale's decimal separator.
    {1234567.891, u"# ### ### ### ### ##0.00", u"   1 234 567.89", u"   1 234 567,89"},
    {0, u"# ### ### ### ### ##0.00", u"     0.00", u"     0,00"},
    {1234567.891, u"# ##0.00", u"1234 567.89", u"1234 567,89"},
    {1234567.891, u"#,##0.00", u"1,234,567.89", u"1\u00A0234\u00A0567,89"},
    {1234567.891, u"#,##0,", u"1,235", u"1\u00A0235"},
    {-1234567.891, u"#,##0.00;(#,##0.00)", u"(1,234,567.89)", u"(1\u00A0234\u00A0567,89)"},
    {0, u"0;-0;\"zero\"", u"zero", u"zero"},
    {-7, u"0;-0;\"zero\"", u"-7", u"-7"},
    {-7, u"0", u"-7", u"-7"},
    {5, u"000", u"005", u"005"},
    {0.5, u"#.##", u".5", u",5"},
    {12.5, u"0.00 \\F", u"12.50 F", u"12,50 F"},
    {0.256, u"0.0%", u"25.6%", u"25,6%"},
    {12345, u"0.00E+00", u"1.23E+04", u"1,23E+04"},
    {99999, u"0.0E+0", u"1.0E+5", u"1,0E+5"},
    // Rounding of Format is half away from zero on the decimal digits.
    {2.5, u"0", u"3", u"3"},
    {-2.5, u"0", u"-3", u"-3"},
    {1.005, u"0.00", u"1.01", u"1,01"},
    {0.125, u"0.00", u"0.13", u"0,13"},
    {0.05, u"0.00", u"0.05", u"0,05"},
    {-0.001, u"0.00", u"-0.00", u"-0,00"},
    {12.5, u".00", u"12.50", u"12,50"},
    // Letters in a number section are literals; "@" takes the number's text (more rows in
    // tests/cases/conversions.tsv).
    {1234, u"#,##0 days", u"1,234 days", u"1\u00A0234 days"},
    {-1.5, u"@@@@@", u" -1.5", u" -1,5"},
    {5e-324, u"0.00E+00", u"4.94E-324", u"4,94E-324"},
    {1.7976931348623157e308, u"##0.0E+0", u"179.8E+306", u"179,8E+306"},
    {0, u"##0.0E+0", u"000.0E-2", u"000,0E-2"},
    // The last date; beyond it a number stays a number (tests/cases/conversions.tsv).
    {2958465.5, u"yyyy-mm-dd hh:nn", u"9999-12-31 12:00", u"9999-12-31 12:00"},
};

const FormatCase kDates[] = {
    {0, u"General Date", u"12/25/2024 1:05:09 PM", u"25/12/2024 13:05:09"},
    {0, u"Long Date", u"Wednesday, December 25, 2024", u"mercredi 25 d\u00E9cembre 2024"},
    {0, u"Medium Date", u"25-Dec-24", u"25-d\u00E9c.-24"},
    {0, u"Short Date", u"12/25/2024", u"25/12/2024"},
    {0, u"Long Time", u"1:05:09 PM", u"13:05:09"},
    {0, u"Medium Time", u"01:05 PM", u"01:05 PM"},
    {0, u"Short Time", u"13:05", u"13:05"},
    {0, u"dd/mm/yyyy", u"25/12/2024", u"25/12/2024"},
    {0, u"d/M/yy", u"25/12/24", u"25/12/24"},
    {0, u"dddd d mmmm yyyy", u"Wednesday 25 December 2024", u"mercredi 25 d\u00E9cembre 2024"},
    {0, u"ddd dd MMM", u"Wed 25 Dec", u"mer. 25 d\u00E9c."},
    {0, u"hh:nn:ss", u"13:05:09", u"13:05:09"},
    {0, u"HH:mm:ss", u"13:05:09", u"13:05:09"},
    {0, u"h:mm AM/PM", u"1:05 PM", u"1:05 PM"},
    {0, u"h:mm am/pm", u"1:05 pm", u"1:05 pm"},
    {0, u"h:mm:ss tt", u"13:05:09 tt", u"13:05:09 tt"},  // "t" is a literal but in ttttt
    {0, u"ttttt", u"1:05:09 PM", u"13:05:09"},
    {0, u"dd\\/mm\\/yyyy \"/:\"", u"25/12/2024 /:", u"25/12/2024 /:"},
    {0, u"mm:ss hh:mm", u"12:09 13:05", u"12:09 13:05"},  // "m" is a minute only after "h"
    {0, u"AM/PM h", u"PM 13", u"PM 13"},                  // only an earlier hour goes on 12 hours
    {0, u"yyyy-mm-dd \"at\" h\\h", u"2024-12-25 at 13h", u"2024-12-25 at 13h"},
    {0, u"ddddd", u"12/25/2024", u"25/12/2024"},
    {0, u"dddddd", u"Wednesday, December 25, 2024", u"mercredi 25 d\u00E9cembre 2024"},
    {0, u"w q y", u"4 4 360", u"4 4 360"},
};

// The tests run under each of en-US and fr-FR.
class FormatLocale : public zvtest::LocaleTest {};

TEST_P(FormatLocale, NumbersAndDates) {
  for (const auto& c : kNumbers)
    EXPECT_EQ(zv::toUtf8(zv::format(Variant(c.value), c.pattern)), zv::toUtf8(pick(c.us, c.fr)))
        << c.value << " " << zv::toUtf8(c.pattern);
  for (const auto& c : kDates)
    EXPECT_EQ(zv::toUtf8(zv::format(Variant(christmas()), c.pattern)), zv::toUtf8(pick(c.us, c.fr)))
        << zv::toUtf8(c.pattern);
}

TEST(Format, TextIsReadUnderTheLocaleOrComesBackUnchanged) {
  zvtest::UserLocale scope(kFr);
  EXPECT_EQ(zv::format(Variant(u"1234,5"), u"#,##0.00"), u"1\u00A0234,50");
  EXPECT_EQ(zv::format(Variant(u"abc"), u"0.00"), u"abc");
  // The clock's "00" parts at midnight, as the hour members write them.
  EXPECT_EQ(zv::format(Variant(u"00"), u"00"), u"00");
  EXPECT_EQ(zv::format(Variant(u"25/12/2024"), u"yyyy-mm-dd"), u"2024-12-25");
  EXPECT_EQ(zv::format(Variant(u"45651"), u"dd/mm/yyyy"), u"25/12/2024");
  EXPECT_EQ(zv::format(Variant(u"n'importe"), u"dd/mm/yyyy"), u"n'importe");
  EXPECT_EQ(zv::format(Variant(45651.5), u"dd/mm/yyyy hh:nn"), u"25/12/2024 12:00");
  EXPECT_EQ(zv::format(Variant(true), u"0"), u"-1");
  EXPECT_EQ(zv::format(Variant(), u""), u"");
  EXPECT_EQ(zv::format(Variant::null(), u"0;0;0;\"nul\""), u"nul");
  EXPECT_EQ(zv::format(Variant(1.5), u""), u"1,5");
  EXPECT_EQ(zv::format(Variant(u"MiXed"), u">"), u"MIXED");
}

// The functions reach the patterns checked above under both locales; here their digits and
// the named format each style number picks.
TEST(Format, FormatFunctions) {
  zvtest::UserLocale scope(kUs);
  EXPECT_EQ(zv::formatNumber(1234567.891), u"1,234,567.89");
  EXPECT_EQ(zv::formatNumber(2.5, 0), u"3");
  EXPECT_EQ(zv::formatNumber(0.25, 1), u"0.3");
  EXPECT_EQ(zv::formatNumber(-0.001, 2), u"-0.00");
  EXPECT_EQ(zv::formatCurrency(1234.5), u"$1,234.50");
  EXPECT_EQ(zv::formatCurrency(-1234.5), u"($1,234.50)");
  EXPECT_EQ(zv::formatPercent(0.12345), u"12.35%");
  const char16_t* styles[] = {u"12/25/2024 1:05:09 PM", u"Wednesday, December 25, 2024",
                              u"12/25/2024", u"1:05:09 PM", u"13:05"};
  for (int32_t style = 0; style < 5; ++style)
    EXPECT_EQ(zv::formatDateTime(christmas(), style), styles[style]) << style;
}

TEST(Format, CurrencyPlacementOfOtherLocales) {
  struct Case {
    const char* lang;
    double value;
    const char16_t* expected;
  };
  const Case kCases[] = {
      {"de_DE.UTF-8", -1234.5, u"-1.234,50 \u20AC"}, {"de_DE.UTF-8", 1234.5, u"1.234,50 \u20AC"},
      {"en_GB.UTF-8", -1234.5, u"(\u00A31,234.50)"}, {"nl_NL.UTF-8", -1234.5, u"(\u20AC 1.234,50)"},
      {"nl_NL.UTF-8", 1234.5, u"\u20AC 1.234,50"},   {"pt_BR.UTF-8", 1234.5, u"R$ 1.234,50"},
      {"ja_JP.UTF-8", 1234.5, u"\uFFE51,235"},       {"fr_CH.UTF-8", 1234.5, u"1\u00A0234,50 CHF"},
  };
  for (const auto& c : kCases) {
    zvtest::UserLocale scope(c.lang);
    EXPECT_EQ(zv::toUtf8(zv::formatCurrency(c.value)), zv::toUtf8(c.expected)) << c.lang;
  }
}

// ---- Reading numbers ----

struct NumberCase {
  const char16_t* text;
  std::optional<double> us;
  std::optional<double> fr;
};

const NumberCase kNumberTexts[] = {
    {u"1.5", 1.5, std::nullopt},
    {u"1,5", 15, 1.5},  // the thousands separator is skipped wherever it stands
    {u"1,234.56", 1234.56, std::nullopt},
    {u"1 234,56", std::nullopt, 1234.56},
    {u"1\u00A0234,56", std::nullopt, 1234.56},
    {u"1.234,56", 1.23456, std::nullopt},  // a group separator after the point is skipped
    {u"1,,2.5,", 12.5, std::nullopt},
    {u"-(12)", -12, -12},
    {u" -12,5 ", -125, -12.5},
    {u"(12)", -12, -12},
    {u"12-", -12, -12},
    {u"+3", 3, 3},
    {u"$12", 12, std::nullopt},
    {u"12 \u20AC", std::nullopt, 12},
    {u"1e3", 1000, 1000},
    {u"&H10", 16, 16},
    {u"", std::nullopt, std::nullopt},
    {u"abc", std::nullopt, std::nullopt},
    {u"1 2 3", std::nullopt, 123},
    {u"--1", std::nullopt, std::nullopt},
    {u"(12", std::nullopt, std::nullopt},
};

TEST_P(FormatLocale, NumbersRead) {
  for (const auto& c : kNumberTexts) {
    const std::optional<double> expected = pick(c.us, c.fr);
    EXPECT_EQ(zv::parseNumber(c.text), expected) << zv::toUtf8(c.text);
    EXPECT_EQ(zv::isNumeric(Variant(c.text)), expected.has_value()) << zv::toUtf8(c.text);
    if (expected)
      EXPECT_EQ(zv::toDouble(Variant(c.text)), *expected);
    else
      EXPECT_EQ(errorOf([&] { zv::toDouble(Variant(c.text)); }), zv::err::kTypeMismatch);
  }
}

TEST_P(FormatLocale, DecimalSeparatorFollowsTheLocale) {
  EXPECT_EQ(zv::decimalSeparator(), pick(u".", u","));
  EXPECT_EQ(zv::toString(Variant(1234567.891)), pick(u"1234567.891", u"1234567,891"));
  EXPECT_EQ(zv::toString(Variant(1.5f)), pick(u"1.5", u"1,5"));
  EXPECT_EQ(zv::toString(Variant(Currency{-12500})), pick(u"-1.25", u"-1,25"));
  EXPECT_EQ(zv::toCurrency(Variant(u"1,23456")), pick(Currency{1234560000}, Currency{12346}));
  EXPECT_EQ(zv::toLong(Variant(u"2,5")), pick(25, 2));
}

// ---- Reading and writing dates ----

struct DateCase {
  const char16_t* text;
  const char16_t* us;  // CStr of CDate under en-US, nullptr when it is no date
  const char16_t* fr;
};

const DateCase kDateTexts[] = {
    {u"25/12/2024", u"12/25/2024", u"25/12/2024"},
    {u"12/25/2024", u"12/25/2024", u"25/12/2024"},
    {u"1/2/2024", u"1/2/2024", u"01/02/2024"},
    {u"2024-12-25", u"12/25/2024", u"25/12/2024"},
    {u"25/12/24", u"12/24/2025", u"25/12/2024"},
    {u"1/2/50", u"1/2/1950", u"01/02/1950"},
    {u"12/2024", u"12/1/2024", u"01/12/2024"},
    {u"Wednesday, December 25, 2024", u"12/25/2024", nullptr},  // the locale's names only
    {u"25 Dec 2024", u"12/25/2024", nullptr},
    {u"Dec 2024", u"12/1/2024", nullptr},
    {u"3 PM", u"3:00:00 PM", u"15:00:00"},
    {u"1:05:09", u"1:05:09 AM", u"01:05:09"},
    {u"25-12-2024", u"12/25/2024", u"25/12/2024"},
    {u"  25/12/2024 1:05 PM ", u"12/25/2024 1:05:00 PM", u"25/12/2024 13:05:00"},
    {u"13/25/2024", nullptr, nullptr},
    {u"25.12.2024", nullptr, nullptr},  // "." is no date separator of either locale
    {u"mercredi 25 d\u00E9cembre 2024", nullptr, u"25/12/2024"},
    {u"25 d\u00E9c. 2024", nullptr, u"25/12/2024"},
    {u"13:05", u"1:05:00 PM", u"13:05:00"},
    {u"1:05 PM", u"1:05:00 PM", u"13:05:00"},
    {u"12:00 AM", u"12:00:00 AM", u"00:00:00"},
    {u"25/12/2024 13:05:09", u"12/25/2024 1:05:09 PM", u"25/12/2024 13:05:09"},
    {u"29/02/2024", u"2/29/2024", u"29/02/2024"},
    {u"29/02/2023", nullptr, nullptr},
    {u"10:61", nullptr, nullptr},
    {u"13:05 PM", u"1:05:00 PM", u"13:05:00"},  // PM adds nothing past noon
    {u"0:00 AM", u"12:00:00 AM", u"00:00:00"},
    {u"10.30", u"10:30:00 AM", u"10:30:00"},  // "." joins a time where it separates no date
    {u"12.5", u"12:05:00 PM", u"12:05:00"},
    {u"1/1/0050", u"1/1/1950", u"01/01/1950"},
    {u"1/1/49", u"1/1/2049", u"01/01/2049"},
    {u"12/25/2024,", nullptr, nullptr},
    {u"5", nullptr, nullptr},
    {u"", nullptr, nullptr},
};

TEST_P(FormatLocale, DatesReadDayFirstOrMonthFirst) {
  for (const auto& c : kDateTexts) {
    const char16_t* expected = pick(c.us, c.fr);
    const Variant text(c.text);
    EXPECT_EQ(zv::isDate(text), expected != nullptr) << zv::toUtf8(c.text);
    if (expected)
      EXPECT_EQ(zv::toUtf8(zv::toString(Variant(zv::toDate(text)))), zv::toUtf8(expected))
          << zv::toUtf8(c.text);
    else
      EXPECT_EQ(errorOf([&] { zv::toDate(text); }), zv::err::kTypeMismatch);
  }
}

TEST(Conversions, DatesWithTheLocalesOwnSeparator) {
  zvtest::UserLocale scope("de_DE.UTF-8");
  EXPECT_EQ(zv::toString(Variant(zv::toDate(Variant(u"25.12.2024")))), u"25.12.2024");
  EXPECT_EQ(zv::toString(Variant(zv::toDate(Variant(u"1.2.2024")))), u"1.2.2024");
  EXPECT_EQ(zv::toString(Variant(zv::toDate(Variant(u"25. Dez 2024")))), u"25.12.2024");
  EXPECT_EQ(zv::toDouble(Variant(u"1.234,56")), 1234.56);
  EXPECT_EQ(zv::toDouble(Variant(u"1.5")), 15);
  EXPECT_EQ(zv::formatNumber(1234567.891), u"1.234.567,89");
  EXPECT_EQ(zv::formatDateTime(christmas(), 1), u"Mittwoch, 25. Dezember 2024");
}

// Year-first locales try their own order, then month-first before day-first.
TEST(Conversions, DatesInYearFirstLocales) {
  for (const char* lang : {"ja_JP.UTF-8", "fr_CA.UTF-8"}) {
    zvtest::UserLocale scope(lang);
    EXPECT_EQ(zv::toDate(Variant(u"12/25/2024")), *zv::makeDate(2024, 12, 25)) << lang;
    EXPECT_EQ(zv::toDate(Variant(u"01/02/2024")), *zv::makeDate(2024, 1, 2)) << lang;
    EXPECT_EQ(zv::toDate(Variant(u"2024/02/01")), *zv::makeDate(2024, 2, 1)) << lang;
    EXPECT_EQ(zv::toDate(Variant(u"1,2,2024")), *zv::makeDate(2024, 1, 2)) << lang;
  }
}

TEST_P(FormatLocale, DateText) {
  struct Case {
    double serial;
    const char16_t* us;
    const char16_t* fr;
  };
  constexpr Case kCases[] = {
      {45651.5, u"12/25/2024 12:00:00 PM", u"25/12/2024 12:00:00"},
      {45651, u"12/25/2024", u"25/12/2024"},
      {0.5, u"12:00:00 PM", u"12:00:00"},
      {0, u"12:00:00 AM", u"00:00:00"},
      {-1.25, u"12/29/1899 6:00:00 AM", u"29/12/1899 06:00:00"},
      {2, u"1/1/1900", u"01/01/1900"},
      {45651.99999999, u"12/26/2024", u"26/12/2024"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(zv::toString(Variant(Date{c.serial})), pick(c.us, c.fr)) << c.serial;
}

TEST(Conversions, DateRoundTripsThroughText) {
  for (const char* lang : {kUs, kFr, "de_DE.UTF-8", "ja_JP.UTF-8", "nl_NL.UTF-8"}) {
    zvtest::UserLocale scope(lang);
    for (double serial : {45651.0, 45651.5461689815, 1.0, 36526.75, 2958465.0}) {
      const Date d{serial};
      const String text = zv::toString(Variant(d));
      ASSERT_TRUE(zv::isDate(Variant(text))) << lang << " " << zv::toUtf8(text);
      EXPECT_NEAR(zv::toDate(Variant(text)).days, serial, 0.5 / 86400)
          << lang << " " << zv::toUtf8(text);
    }
  }
}

TEST(Conversions, CalendarBoundaries) {
  EXPECT_FALSE(zv::makeDate(99, 12, 31));
  EXPECT_FALSE(zv::makeDate(10000, 1, 1));
  EXPECT_EQ(zv::makeDate(100, 1, 1)->days, -657434);
  EXPECT_EQ(zv::makeDate(9999, 12, 31)->days, 2958465);
  EXPECT_EQ(zv::makeDate(1899, 12, 30)->days, 0);
  EXPECT_EQ(zv::makeDate(1899, 12, 29, 6)->days, -1.25);
  const zv::DateParts p = zv::splitDate(Date{-1.25});
  EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 18991229);
  EXPECT_EQ(p.hour, 6);
  EXPECT_EQ(zv::splitDate(christmas()).weekday, 4);
  EXPECT_EQ(zv::splitDate(christmas()).dayOfYear, 360);
}

INSTANTIATE_TEST_SUITE_P(Format, FormatLocale, testing::ValuesIn(zvtest::kLocales),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
