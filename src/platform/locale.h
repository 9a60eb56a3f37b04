// The platform's locale database: the user's and the system's locale identifiers (LCIDs)
// and the items GetLocaleInfo answers for an LCID.
#pragma once

#include <cstdint>

#include "runtime/types.h"

namespace zv::platform {

inline constexpr int32_t kLcidEnglishUS = 1033;
inline constexpr int32_t kLcidFrenchFrance = 1036;

// Locale item numbers (LCTYPE), as Windows numbers them.
namespace lctype {
inline constexpr int32_t kLanguageId = 0x1;      // "040c"
inline constexpr int32_t kLanguage = 0x2;        // "French (France)"
inline constexpr int32_t kAbbrevLanguage = 0x3;  // "FRA"
inline constexpr int32_t kCountry = 0x6;         // "France"
inline constexpr int32_t kAbbrevCountry = 0x7;   // "FRA"
inline constexpr int32_t kCountryCode = 0xA;     // "33"
inline constexpr int32_t kDecimal = 0xE;
inline constexpr int32_t kThousand = 0xF;
inline constexpr int32_t kCurrency = 0x14;
inline constexpr int32_t kMonetaryDecimal = 0x16;
inline constexpr int32_t kMonetaryThousand = 0x17;
inline constexpr int32_t kCurrencyDigits = 0x19;    // "2"
inline constexpr int32_t kPositiveCurrency = 0x1B;  // "0" $1, "1" 1$, "2" $ 1, "3" 1 $
inline constexpr int32_t kNegativeCurrency = 0x1C;  // 0 to 15, as Windows numbers them
inline constexpr int32_t kDateSeparator = 0x1D;
inline constexpr int32_t kTimeSeparator = 0x1E;
inline constexpr int32_t kShortDate = 0x1F;
inline constexpr int32_t kLongDate = 0x20;
inline constexpr int32_t kAm = 0x28;
inline constexpr int32_t kPm = 0x29;
inline constexpr int32_t kDayName1 = 0x2A;  // Monday; 0x30 Sunday
inline constexpr int32_t kAbbrevDayName1 = 0x31;
inline constexpr int32_t kMonthName1 = 0x38;  // January; 0x43 December
inline constexpr int32_t kAbbrevMonthName1 = 0x44;
inline constexpr int32_t kTimeFormat = 0x1003;
inline constexpr int32_t kFirstDayOfWeek = 0x100C;  // "0" Monday ... "6" Sunday
}  // namespace lctype

// The user's locale. On POSIX: LC_ALL, then LC_MESSAGES, then LANG ("fr_FR.UTF-8" is
// 1036; unset, "C" or "POSIX" is 1033). Read once; resetLocaleCache reads it again.
int32_t userLcid();
int32_t systemLcid();

// The item `type` of locale `lcid` as GetLocaleInfoW answers it (the text the runtime's
// conversions use); "" for an LCID or an item the platform does not know. LCID 0 and the
// default LCIDs are the user's locale; the flag bits of `type` are honoured.
String localeInfo(int32_t lcid, int32_t type);

// The same item as GetLocaleInfoA answers it, decoded from its code page (the locale's, or
// the system's with LOCALE_USE_CP_ACP): a character without a code there becomes "?". With
// LOCALE_RETURN_NUMBER, the four bytes of the number, one character each.
String localeInfoAnsi(int32_t lcid, int32_t type);

// Forgets what was read from the environment (for tests that change LANG).
void resetLocaleCache();

}  // namespace zv::platform
