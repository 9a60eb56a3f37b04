#include "decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace zv {

void Decimal::trim() {
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) {
    digits.clear();
    point = 0;
    return;
  }
  digits.erase(0, first);
  point -= static_cast<int32_t>(first);
  digits.erase(digits.find_last_not_of('0') + 1);
}

Decimal Decimal::fromDouble(double value, int significantDigits) {
  Decimal d;
  d.negative = std::signbit(value) && value != 0;
  if (value == 0 || !std::isfinite(value)) return d;
  // The digits CStr writes (denormals included).
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significantDigits - 1, std::fabs(value));
  const char* e = std::strchr(buffer, 'e');
  for (const char* p = buffer; p < e; ++p)
    if (*p >= '0' && *p <= '9') d.digits += *p;
  d.point = std::atoi(e + 1) + 1;
  d.trim();
  return d;
}

Decimal Decimal::fromInteger(int64_t value) {
  Decimal d;
  d.negative = value < 0;
  const uint64_t magnitude =
      value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  d.digits = std::to_string(magnitude);
  d.point = static_cast<int32_t>(d.digits.size());
  d.trim();
  return d;
}

Decimal Decimal::fromCurrency(Currency value) {
  Decimal d = fromInteger(value.units);
  if (!d.isZero()) d.point -= 4;
  return d;
}

Decimal Decimal::fromAscii(const std::string& text, bool negative) {
  Decimal d;
  d.negative = negative;
  size_t at = 0;
  int64_t point = -1;
  for (; at < text.size() && text[at] != 'E'; ++at) {
    if (text[at] == '.')
      point = static_cast<int64_t>(d.digits.size());
    else
      d.digits += text[at];
  }
  if (point < 0) point = static_cast<int64_t>(d.digits.size());
  if (at < text.size()) {
    // Exponents far beyond any Double only need to stay far beyond it.
    point +=
        std::clamp<long long>(std::strtoll(text.c_str() + at + 1, nullptr, 10), -100000, 100000);
  }
  d.point = static_cast<int32_t>(point);
  d.trim();
  if (d.isZero()) d.negative = negative;
  return d;
}

char Decimal::digitAt(int64_t index) const {
  return index >= 0 && index < static_cast<int64_t>(digits.size())
             ? digits[static_cast<size_t>(index)]
             : '0';
}

void Decimal::keepDigits(int64_t count) {
  if (count >= static_cast<int64_t>(digits.size())) return;
  if (count <= 0) {
    // Nothing kept: a first digit of 5 or more becomes one unit of the kept place.
    if (count == 0 && digits[0] >= '5') {
      point += 1;
      digits = "1";
    } else {
      digits.clear();
      point = 0;
    }
    return;
  }
  const bool up = digits[static_cast<size_t>(count)] >= '5';
  digits.resize(static_cast<size_t>(count));
  if (up) {
    size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9')
      digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
      ++point;
    } else {
      ++digits[i - 1];
    }
  }
  trim();
}

void Decimal::roundToFraction(int32_t fractionDigits) {
  keepDigits(static_cast<int64_t>(point) + fractionDigits);
}

double Decimal::toDouble() const {
  if (isZero()) return negative ? -0.0 : 0.0;
  const std::string text = "0." + digits + "e" + std::to_string(point);
  const double value = std::strtod(text.c_str(), nullptr);
  return negative ? -value : value;
}

}  // namespace zv
