#include "text_oracle/replace_scan.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "text_oracle/unit_search.h"

namespace zv::text_oracle {

ReplaceScan::ReplaceScan(std::vector<Replacement> rules)
    : sorted_(std::move(rules)), first_(65536, 0) {
  if (sorted_.size() > 255) throw std::logic_error("too many replacement patterns");
  std::sort(sorted_.begin(), sorted_.end(),
            [](const Replacement& a, const Replacement& b) { return a.from < b.from; });
  for (size_t i = 0; i < sorted_.size(); ++i) {
    if (sorted_[i].from.empty()) throw std::logic_error("empty replacement pattern");
    // Sorted, a pattern that is a prefix of another sits right before one that starts with it.
    if (i > 0 && sorted_[i].from.starts_with(sorted_[i - 1].from))
      throw std::logic_error("replacement patterns are not prefix-free");
    const char16_t start = sorted_[i].from.front();
    groupEnd_.push_back(uint8_t(i + 1));
    if (first_[start] == 0) {
      first_[start] = uint8_t(i + 1);
      if (start < 0x80)
        asciiStarts_ += start;
      else
        wideStarts_ = true;
    }
    groupEnd_[first_[start] - 1u] = uint8_t(i + 1);
  }
}

// Prefix-free and sorted, the pattern that starts `rest`, if any, is the greatest one not
// above it among those that start with its first unit.
const Replacement* ReplaceScan::matchAt(StringView rest) const {
  const size_t group = first_[rest.front()] - 1u;
  const auto begin = sorted_.begin() + ptrdiff_t(group);
  const auto end = sorted_.begin() + ptrdiff_t(groupEnd_[group]);
  auto it = std::upper_bound(begin, end, rest,
                             [](StringView r, const Replacement& p) { return r < p.from; });
  if (it == begin) return nullptr;
  --it;
  return rest.starts_with(it->from) ? &*it : nullptr;
}

std::pair<size_t, const Replacement*> ReplaceScan::next(StringView text, size_t from) const {
  const size_t n = text.size();
  for (size_t i = from; (i = findCandidate(text, asciiStarts_, wideStarts_, i)) < n; ++i)
    if (first_[text[i]] != 0)
      if (const Replacement* hit = matchAt(text.substr(i))) return {i, hit};
  return {n, nullptr};
}

String ReplaceScan::apply(StringView text) const {
  String out;
  return applyTo(text, out) ? out : String(text);
}

bool ReplaceScan::applyTo(StringView text, String& out) const {
  auto [at, hit] = next(text, 0);
  if (!hit) return false;
  out.reserve(text.size() + text.size() / 8);
  size_t copied = 0;
  while (hit) {
    out.append(text.substr(copied, at - copied));
    out.append(hit->to);
    copied = at + hit->from.size();
    std::tie(at, hit) = next(text, copied);
  }
  out.append(text.substr(copied));
  return true;
}

bool replaceAllTo(StringView text, StringView what, StringView with, String& out) {
  size_t at = findText(text, what);
  if (at == StringView::npos) return false;
  out.reserve(text.size() + (with.size() > what.size() ? text.size() / 8 : 0));
  size_t from = 0;
  for (; at != StringView::npos; from = at + what.size(), at = findText(text, what, from)) {
    out.append(text.substr(from, at - from));
    out.append(with);
  }
  out.append(text.substr(from));
  return true;
}

}  // namespace zv::text_oracle
