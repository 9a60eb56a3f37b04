// Walking the occurrences of a separator left to right, as the separator functions do
// when they cut their working copy again and again: each search starts right after the
// previous occurrence, so occurrences never overlap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/text.h"

namespace zv::text {

class SeparatorScan {
 public:
  static constexpr size_t npos = StringView::npos;

  // `separator` is not empty.
  SeparatorScan(StringView text, StringView separator);

  // The 0-based index of the first occurrence at or after `from`, or npos. A search reads
  // the text only up to the end of the occurrence it finds (KMP), so walking all of them
  // costs one pass over the text whatever the separator.
  size_t next(size_t from) const;

  size_t separatorLength() const { return separator_.size(); }

 private:
  StringView text_;
  StringView separator_;
  std::vector<uint32_t> border_;  // border_[j]: longest proper border of separator_[0..j]
};

// The separator functions keep positions and the separator's length in 16-bit Integers:
// a separator longer than 32767 characters fails with error 6 once it is searched for...
void checkSeparatorLength(StringView separator);
// ...and so does an occurrence at `hit` beyond position 32767 of the working copy that
// begins at `start`.
void checkPosition(size_t hit, size_t start);

}  // namespace zv::text
