#include "convert/replace_scan.h"

#include <algorithm>
#include <stdexcept>

namespace zv::convert {

ReplaceScan::ReplaceScan(std::vector<Replacement> rules) : sorted_(std::move(rules)) {
  std::sort(sorted_.begin(), sorted_.end(),
            [](const Replacement& a, const Replacement& b) { return a.from < b.from; });
  for (size_t i = 0; i < sorted_.size(); ++i) {
    if (sorted_[i].from.empty()) throw std::logic_error("empty replacement pattern");
    // Sorted, a pattern that is a prefix of another sits right before one that starts with it.
    if (i > 0 && sorted_[i].from.starts_with(sorted_[i - 1].from))
      throw std::logic_error("replacement patterns are not prefix-free");
    starts_.set(sorted_[i].from.front());
  }
}

// In a prefix-free sorted set, a pattern that starts `rest` is the greatest one not above it.
const Replacement* ReplaceScan::matchAt(StringView rest) const {
  auto it = std::upper_bound(sorted_.begin(), sorted_.end(), rest,
                             [](StringView r, const Replacement& p) { return r < p.from; });
  if (it == sorted_.begin()) return nullptr;
  --it;
  return rest.starts_with(it->from) ? &*it : nullptr;
}

String ReplaceScan::apply(StringView text) const {
  String out;
  out.reserve(text.size() + text.size() / 8);
  size_t copied = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (!starts_.test(text[i])) {
      ++i;
      continue;
    }
    const Replacement* hit = matchAt(text.substr(i));
    if (!hit) {
      ++i;
      continue;
    }
    out.append(text.substr(copied, i - copied));
    out.append(hit->to);
    i += hit->from.size();
    copied = i;
  }
  out.append(text.substr(copied));
  return out;
}

}  // namespace zv::convert
