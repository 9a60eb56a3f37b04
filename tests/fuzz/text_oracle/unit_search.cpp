#include "text_oracle/unit_search.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zv::text_oracle {

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

bool isLetterOrDigit(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
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
  const size_t anchor = size_t(std::find_if(what.begin(), what.end(),
                                            [](char16_t c) { return !isLetterOrDigit(c); }) -
                               what.begin()) %
                        what.size();
  for (size_t at = from + anchor; (at = findUnit(text, what[anchor], at)) < text.size(); ++at) {
    const size_t start = at - anchor;
    if (text.substr(start).starts_with(what)) return start;
  }
  return StringView::npos;
}

}  // namespace zv::text_oracle
