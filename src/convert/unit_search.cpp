#include "convert/unit_search.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zv::convert {

namespace {

#if defined(__SSE2__)
// The mask of the eight units at `p` that are one of `ascii` or, with `wide`, from 128 up:
// two bits a unit, as _mm_movemask_epi8 gives them.
unsigned blockMask(const char16_t* p, const __m128i* ascii, size_t count, bool wide) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  __m128i hit = _mm_setzero_si128();
  if (wide)
    hit = _mm_andnot_si128(
        _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), _mm_setzero_si128()),
        _mm_set1_epi16(-1));
  for (size_t k = 0; k < count; ++k)
    hit = _mm_or_si128(hit, _mm_cmpeq_epi16(v, ascii[k]));
  return unsigned(_mm_movemask_epi8(hit));
}
#endif

bool isCandidate(char16_t c, std::u16string_view ascii, bool wide) {
  return (wide && c >= 0x80) || ascii.find(c) != std::u16string_view::npos;
}

}  // namespace

size_t findCandidate(StringView text, std::u16string_view ascii, bool wide, size_t from) {
  const char16_t* const data = text.data();
  const size_t n = text.size();
  size_t i = from;
#if defined(__SSE2__)
  if (ascii.size() <= 8) {
    __m128i units[8];
    for (size_t k = 0; k < ascii.size(); ++k)
      units[k] = _mm_set1_epi16(short(ascii[k]));
    for (; i + 8 <= n; i += 8)
      if (const unsigned mask = blockMask(data + i, units, ascii.size(), wide))
        return i + size_t(__builtin_ctz(mask)) / 2;
  }
#endif
  for (; i < n; ++i)
    if (isCandidate(data[i], ascii, wide)) return i;
  return n;
}

size_t findUnit(StringView text, char16_t unit, size_t from) {
  if (unit >= 0x80) return std::min(text.size(), text.find(unit, from));
  const char16_t ascii[] = {unit};
  return findCandidate(text, std::u16string_view(ascii, 1), false, from);
}

size_t findText(StringView text, StringView what, size_t from) {
  const size_t m = what.size();
  const size_t n = text.size();
  if (m > n || from > n - m) return StringView::npos;
  if (m == 1) {
    const size_t at = findUnit(text, what[0], from);
    return at < n ? at : StringView::npos;
  }
  const char16_t* const data = text.data();
  const auto matchesAt = [&](size_t at) {
    for (size_t k = 1; k + 1 < m; ++k)
      if (data[at + k] != what[k]) return false;
    return true;
  };
  size_t i = from;
#if defined(__SSE2__)
  // Candidates hold both the first and the last unit of `what`: far fewer than either alone.
  const __m128i first = _mm_set1_epi16(short(what.front()));
  const __m128i last = _mm_set1_epi16(short(what.back()));
  for (; i + m - 1 + 8 <= n; i += 8) {
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + m - 1));
    unsigned mask = unsigned(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpeq_epi16(head, first), _mm_cmpeq_epi16(tail, last))));
    for (; mask; mask &= mask - 1, mask &= mask - 1)
      if (const size_t at = i + size_t(__builtin_ctz(mask)) / 2; matchesAt(at)) return at;
  }
#endif
  for (; i + m <= n; ++i)
    if (data[i] == what.front() && data[i + m - 1] == what.back() && matchesAt(i)) return i;
  return StringView::npos;
}

}  // namespace zv::convert
