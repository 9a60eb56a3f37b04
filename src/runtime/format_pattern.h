// A user pattern of Format split into sections and tokens, typed as the platform types it:
// the first number, date or text placeholder decides what the pattern formats, and from
// then on the characters of the other kinds are literals ("0 pts" is a number and "pts").
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "text.h"

namespace zv::formatting {

enum class PatternKind { Unknown, Number, Date, Text };

struct Token {
  enum Kind : uint8_t {
    Literal,        // text
    Digits,         // count placeholders; flag: "0" (else "#")
    Point,          // the decimal separator
    Exponent,       // count exponent digits at least; flag: "E" (else "e"); plus: "+" form
    DateSeparator,  // "/"
    TimeSeparator,  // ":"
    GeneralDate,    // c
    LongTime,       // ttttt
    Day,            // count 1 to 7: d dd ddd dddd, short date, long date (6 and 7)
    Month,          // count 1 to 5 (5: the day of the year)
    Year,           // count 1 (day of the year), 2 or 4
    Hour,           // count 1 or 2; flag: 12-hour clock
    Minute,         // count 1 or 2
    Second,         // count 1 or 2
    WeekDay,        // w
    WeekOfYear,     // ww
    Quarter,        // q
    AmPm,           // count: 0 the locale's designators, 1 AM/PM, 2 am/pm, 3 A/P, 4 a/p
    Characters,     // count placeholders; flag: "@" (else "&")
  };
  Kind kind;
  int32_t count = 0;
  bool flag = false;
  bool plus = false;
  String text;
};

struct Section {
  std::vector<Token> tokens;
  // Number sections.
  bool grouping = false;
  bool percent = false;
  bool scientific = false;
  int32_t scale = 0;  // thousands the value is divided by (commas left of the point)
  int32_t integerDigits = 0;
  int32_t fractionDigits = 0;
  // Text sections.
  bool lower = false;
  bool upper = false;
  bool leftToRight = false;  // "!": placeholders fill from the left
  int32_t characters = 0;
};

struct Pattern {
  PatternKind kind = PatternKind::Unknown;
  // Up to four sections; one not given (";;") takes the first's place.
  std::array<std::optional<Section>, 4> sections;
  const Section& section(size_t index) const {
    return sections[index] ? *sections[index] : *sections[0];
  }
};

// Error 5 for more than four sections.
Pattern parsePattern(StringView pattern);

}  // namespace zv::formatting
