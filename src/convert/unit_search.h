// Searches over UTF-16 text that look at eight units at a time where the processor allows:
// the conversions spend most of their time looking for the few characters that matter.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "runtime/text.h"

namespace zv::convert {

// The first position from `from` holding `unit`; text.size() when there is none.
size_t findUnit(StringView text, char16_t unit, size_t from = 0);

// The first position from `from` where `what` (not empty) starts; StringView::npos when it
// does not occur.
size_t findText(StringView text, StringView what, size_t from = 0);

// The first position from `from` whose unit is one of `ascii` (units below 128; eight at most
// for the fast search) or, when `wide` is set, any unit from 128 up; text.size() when there
// is none.
size_t findCandidate(StringView text, std::u16string_view ascii, bool wide, size_t from);

// The positions whose unit may matter to a scan: one of `ascii` (units below 128) or, with
// `wide`, any from 128 up that `table` marks (non-zero). `table` covers every unit and marks
// every unit of `ascii` too. Built once per text, it looks at eight units at a time while
// `ascii` holds at most eight.
class UnitFinder {
 public:
  UnitFinder(std::u16string_view ascii, bool wide, const uint8_t* table)
      : table_(table), count_(ascii.size()), wide_(wide) {
#if defined(__SSE2__)
    for (size_t k = 0; k < count_ && k < 8; ++k)
      units_[k] = _mm_set1_epi16(short(ascii[k]));
#endif
  }

  // The first position from `i` whose unit is marked; n when none is.
  size_t next(const char16_t* data, size_t n, size_t i) const {
#if defined(__SSE2__)
    if (count_ <= 8) {
      for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i hit = _mm_setzero_si128();
        if (wide_)
          hit =
              _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), _mm_setzero_si128());
        unsigned mask = wide_ ? ~unsigned(_mm_movemask_epi8(hit)) & 0xFFFFu : 0u;
        hit = _mm_setzero_si128();
        for (size_t k = 0; k < count_; ++k)
          hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, units_[k]));
        mask |= unsigned(_mm_movemask_epi8(hit));
        // A wide unit the table does not mark is passed over here, not returned.
        while (mask) {
          const size_t at = i + size_t(__builtin_ctz(mask)) / 2;
          if (table_[data[at]]) return at;
          mask &= mask - 1;
          mask &= mask - 1;
        }
      }
    }
#endif
    while (i < n && !table_[data[i]])
      ++i;
    return i;
  }

 private:
  const uint8_t* table_;
  size_t count_;
  bool wide_;
#if defined(__SSE2__)
  __m128i units_[8];
#endif
};

}  // namespace zv::convert
