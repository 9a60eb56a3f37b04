// The locale service against what GetLocaleInfoA answers under Wine 8 for the same
// LCIDs, and the user's locale read from the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "api/SystemLib.h"
#include "locale_scope.h"
#include "platform/locale.h"
#include "runtime/text.h"

namespace {

// A sample of what GetLocaleInfoW (localeInfo) and GetLocaleInfoA (localeInfoAnsi) answer
// under Wine 8 for the same LCIDs and items; the oracle test compares every item of the
// twelve locales with Wine itself, and the shared case table holds more items.
TEST(Locale, SampleItemsAsWindowsAnswersThem) {
  constexpr struct {
    int32_t lcid, type;
    const char16_t* expected;
  } kWine[] = {
      {0x0409, 0x1F, u"M/d/yyyy"},   {0x0409, 0x1003, u"h:mm:ss tt"},
      {0x0809, 0x0D, u"0"},          {0x040C, 0x0F, u"\u00A0"},
      {0x040C, 0x0C, u";"},          {0x040C, 0x1C, u"15"},
      {0x040C, 0x7C, u"dddd d MMM"}, {0x0C0C, 0x1E, u" 'h' "},
      {0x0C0C, 0x21, u"2"},          {0x100C, 0x16, u"."},
      {0x0407, 0x46, u"M\u00E4r"},   {0x0407, 0x7E, u"a"},
      {0x0C0A, 0x28, u"a.\u202Fm."}, {0x0413, 0x1B, u"2"},
      {0x0416, 0x53, u"3"},          {0x0411, 0x20, u"yyyy\u5E74M\u6708d\u65E5dddd"},
      {0x0411, 0x14, u"\uFFE5"},     {0x0411, 0x6A, u"\u221E"},
  };
  for (const auto& item : kWine)
    EXPECT_EQ(zv::toUtf8(zv::platform::localeInfo(item.lcid, item.type)), zv::toUtf8(item.expected))
        << std::hex << item.lcid << " " << item.type;
  // An unknown LCID or item gives nothing.
  for (int32_t lcid : {0x1234, 0x7FFF, -1})
    for (int32_t type : {0x1F, 0x1003, 0x0C, 0x5C})
      EXPECT_EQ(zv::platform::localeInfo(lcid, type), u"") << lcid << " " << type;
  EXPECT_EQ(zv::platform::localeInfo(0x040C, 0x9999), u"");
}

// GetLocaleInfoA's text: the code page's characters, "?" or the best fit for the others,
// the number of LOCALE_RETURN_NUMBER as four bytes (the flag bits more in the shared case
// table).
TEST(Locale, AnsiTextAndFlagBits) {
  using namespace std::literals;
  const struct {
    int32_t lcid;
    uint32_t type;
    std::u16string_view expected;
  } kCases[] = {
      {0x0C0A, 0x28, u"a.?m."sv},
      {0x0409, 0x6A, u"8"sv},
      {0x0411, 0x2A, u"\u6708\u66DC\u65E5"sv},
      {0x0409, 0x20000001, u"\x09\x04\0\0"sv},  // ILANGUAGE is hexadecimal
      {0x0409, 0x20000002, u""sv},              // a name is no number
  };
  for (const auto& c : kCases)
    EXPECT_EQ(zv::platform::localeInfoAnsi(c.lcid, static_cast<int32_t>(c.type)), c.expected)
        << std::hex << c.lcid << " " << c.type;
}

TEST(Locale, UserLcidFromTheEnvironment) {
  constexpr struct {
    const char* lang;
    int32_t lcid;
  } kCases[] = {
      {"fr_CA", 0x0C0C}, {"de_DE@euro", 0x0407}, {"en_GB.ISO-8859-1", 0x0809}, {"fr", 0x040C},
      {"C", 0x0409},     {"POSIX", 0x0409},      {"C.UTF-8", 0x0409},          {"xx_YY", 0x0409},
  };
  for (const auto& c : kCases) {
    zvtest::UserLocale scope(c.lang);
    EXPECT_EQ(zv::platform::userLcid(), c.lcid) << c.lang;
    EXPECT_EQ(zv::platform::systemLcid(), c.lcid) << c.lang;
  }
}

TEST(Locale, LcAllComesBeforeLang) {
  zvtest::UserLocale scope("en_US.UTF-8");
  ::setenv("LC_ALL", "de_DE.UTF-8", 1);
  zv::platform::resetLocaleCache();
  EXPECT_EQ(zv::platform::userLcid(), 0x0407);
  EXPECT_EQ(zv::platform::localeInfo(0, zv::platform::lctype::kDecimal), u",");
}

TEST(Locale, ZeroAndTheDefaultLcidsAreTheUsers) {
  zvtest::UserLocale scope("fr_FR.UTF-8");
  for (int32_t lcid : {0, 0x400, 0x800}) {
    EXPECT_EQ(zv::platform::localeInfo(lcid, zv::platform::lctype::kLanguageId), u"040c");
    EXPECT_EQ(zv::platform::localeInfo(lcid, zv::platform::lctype::kThousand), u"\u00A0");
  }
}

// ---- SystemLib (its single calls and LangueLib's: tests/cases/conversions.tsv) ----

TEST(SystemLibLocale, GetALocaleInfoLeavesItsByRefItemAlone) {
  int32_t type = 0x1003;
  EXPECT_EQ(zv::SystemLib::create()->GetALocaleInfo(0x0409, type), u"h:mm:ss tt");
  EXPECT_EQ(type, 0x1003);
}

}  // namespace
