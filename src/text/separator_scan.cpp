#include "text/separator_scan.h"

namespace zv::text {

SeparatorScan::SeparatorScan(StringView text, StringView separator)
    : text_(text), separator_(separator) {
  if (separator_.size() < 2) return;
  border_.assign(separator_.size(), 0);
  uint32_t k = 0;
  for (size_t j = 1; j < separator_.size(); ++j) {
    while (k > 0 && separator_[j] != separator_[k])
      k = border_[k - 1];
    if (separator_[j] == separator_[k]) ++k;
    border_[j] = k;
  }
}

size_t SeparatorScan::next(size_t from) const {
  if (from >= text_.size()) return npos;
  const size_t m = separator_.size();
  if (m == 1) return text_.find(separator_[0], from);
  size_t k = 0;
  for (size_t i = from; i < text_.size(); ++i) {
    while (k > 0 && text_[i] != separator_[k])
      k = border_[k - 1];
    if (text_[i] == separator_[k] && ++k == m) return i + 1 - m;
  }
  return npos;
}

void checkSeparatorLength(StringView separator) {
  toInteger16(static_cast<int64_t>(separator.size()));
}

void checkPosition(size_t hit, size_t start) {
  toInteger16(static_cast<int64_t>(hit - start) + 1);
}

}  // namespace zv::text
