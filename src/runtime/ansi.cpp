#include "ansi.h"

#include <algorithm>
#include <array>

namespace zv {

namespace {

// Codes 0x80 to 0x9F; the five codes Windows-1252 leaves undefined map to the C1
// control of the same value, as Windows converts them.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t ansiChar(uint8_t code) {
  return (code >= 0x80 && code <= 0x9F) ? kHigh[code - 0x80] : static_cast<char16_t>(code);
}

uint8_t ansiCode(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<uint8_t>(c);
  auto it = std::find(kHigh.begin(), kHigh.end(), c);
  return it == kHigh.end() ? '?' : static_cast<uint8_t>(0x80 + (it - kHigh.begin()));
}

std::string toAnsi(StringView text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    // A surrogate pair is one character, and one '?'.
    if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF)
      ++i;
    out += static_cast<char>(ansiCode(text[i]));
  }
  return out;
}

String fromAnsi(std::string_view bytes) {
  String out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = ansiChar(static_cast<uint8_t>(bytes[i]));
  return out;
}

}  // namespace zv
