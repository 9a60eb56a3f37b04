// VB's Format$ with named and user formats, and the Format* functions, under the user's
// locale.
#pragma once

#include <cstdint>

#include "text.h"
#include "variant.h"
#include "vblocale.h"

namespace zv {

// Format(value, pattern): a named format ("Currency", "Short Date", ...) or a user
// pattern; numbers with # 0 . , % E+ and up to four sections separated by ";", dates and
// times with d m y h n s (and Windows' M H tt), "/" and ":" being the locale's separators.
// Text that is no number (for a number pattern) or no date (for a date pattern) comes
// back unchanged; Null and Empty give "" (or the fourth section for Null).
String format(const Variant& value, StringView pattern = {});
String format(const Variant& value, StringView pattern, const LocaleSettings& locale);

// FormatNumber / FormatCurrency / FormatPercent with the locale's separators; `digits`
// -1 takes the locale's two (or its currency digits).
String formatNumber(double value, int32_t digits = -1);
String formatCurrency(double value, int32_t digits = -1);
String formatPercent(double value, int32_t digits = -1);
// FormatDateTime: 0 general date, 1 long date, 2 short date, 3 long time, 4 short time.
String formatDateTime(Date value, int32_t namedFormat = 0);

}  // namespace zv
