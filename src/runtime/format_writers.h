// The writers behind Format: a number, a date or a text through one section of a user
// pattern (format_pattern.h), under a locale.
#pragma once

#include "decimal.h"
#include "format_pattern.h"
#include "vblocale.h"

namespace zv::formatting {

// `value` through a number section; `minus` writes "-" before the first digit or point
// placeholder (a value below zero without a section of its own).
String writeNumber(Decimal value, const Section& section, bool minus, const LocaleSettings& locale);

// `value` through a date section; error 5 for a date outside 1 January 100 to
// 31 December 9999.
String writeDate(Date value, const Section& section, const LocaleSettings& locale);

// `text` through a text section: "@" takes a character or writes a blank, "&" takes one or
// writes nothing, "<" and ">" change the case; characters left over go at the end.
String writeText(const String& text, const Section& section);

}  // namespace zv::formatting
