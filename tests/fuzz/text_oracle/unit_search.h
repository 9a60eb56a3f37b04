// Searches over UTF-16 text that look at eight units at a time where the processor allows:
// the conversions spend most of their time looking for the few characters that matter.
#pragma once

#include <cstddef>

#include "runtime/text.h"

namespace zv::text_oracle {

// The first position from `from` holding `unit`; text.size() when there is none.
size_t findUnit(StringView text, char16_t unit, size_t from = 0);

// The first position from `from` where `what` (not empty) starts; StringView::npos when it
// does not occur. The search runs on the least common-looking unit of `what` (a sign rather
// than a letter), so that "http://" is looked for at its ":".
size_t findText(StringView text, StringView what, size_t from = 0);

// The first position from `from` whose unit is one of `ascii` (units below 128; eight at most
// for the fast search) or, when `wide` is set, any unit from 128 up; text.size() when there
// is none.
size_t findCandidate(StringView text, std::u16string_view ascii, bool wide, size_t from);

}  // namespace zv::text_oracle
