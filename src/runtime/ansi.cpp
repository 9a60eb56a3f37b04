#include "ansi.h"

#include <algorithm>
#include <array>
#include <cstddef>

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

void appendAnsi(std::string& out, StringView text) {
  const size_t start = out.size();
  out.resize(start + text.size());
  char* to = out.data() + start;
  const char16_t* from = text.data();
  const char16_t* const end = from + text.size();
  // Most text is ASCII: a block of it is narrowed in one simple loop the compiler vectorizes.
  constexpr std::ptrdiff_t kBlock = 16;
  while (from < end) {
    const std::ptrdiff_t n = std::min(kBlock, end - from);
    char16_t any = 0;
    for (std::ptrdiff_t i = 0; i < n; ++i)
      any |= from[i];
    if (any < 0x80) {
      for (std::ptrdiff_t i = 0; i < n; ++i)
        to[i] = static_cast<char>(from[i]);
      from += n;
      to += n;
      continue;
    }
    for (const char16_t* const blockEnd = from + n; from < blockEnd;) {
      const char16_t c = *from++;
      // A surrogate pair is one character, and one '?'.
      if (c >= 0xD800 && c <= 0xDBFF && from < end && *from >= 0xDC00 && *from <= 0xDFFF) ++from;
      *to++ = static_cast<char>(ansiCode(c));
    }
  }
  out.resize(static_cast<size_t>(to - out.data()));
}

std::string toAnsi(StringView text) {
  std::string out;
  appendAnsi(out, text);
  return out;
}

String fromAnsi(std::string_view bytes) {
  String out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i)
    out[i] = ansiChar(static_cast<uint8_t>(bytes[i]));
  return out;
}

}  // namespace zv
