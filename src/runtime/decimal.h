// A number as the decimal digits Format works on: a Double by the 15 significant digits
// CStr writes, a Currency or an integer exactly, a text by every digit it holds.
#pragma once

#include <cstdint>
#include <string>

#include "types.h"

namespace zv {

struct Decimal {
  bool negative = false;
  // Significant digits, no leading or trailing zeros; empty for zero.
  std::string digits;
  // Where the decimal point stands: the value is 0.digits × 10^point.
  int32_t point = 0;

  // A Double by its first 15 significant digits (7 for a Single's value).
  static Decimal fromDouble(double value, int significantDigits = 15);
  static Decimal fromCurrency(Currency value);
  static Decimal fromInteger(int64_t value);
  // "123.45E-3" (digits, one optional point, an optional exponent), no sign.
  static Decimal fromAscii(const std::string& text, bool negative);

  bool isZero() const { return digits.empty(); }
  // The digit at `index` counted from the first significant one, 0 outside them.
  char digitAt(int64_t index) const;
  // Keeps `count` digits from the first significant one, rounding half away from zero on
  // the next; a carry past the first digit moves the point.
  void keepDigits(int64_t count);
  // Rounds half away from zero to `fractionDigits` digits after the point.
  void roundToFraction(int32_t fractionDigits);
  double toDouble() const;

 private:
  void trim();
};

}  // namespace zv
