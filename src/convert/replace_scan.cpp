#include "convert/replace_scan.h"

#include <algorithm>
#include <stdexcept>

#include "convert/text_passes.h"
#include "convert/text_writer.h"
#include "convert/unit_search.h"

namespace zv::convert {

namespace {

// A hash of units taken one after another, so that a group's lengths extend one running
// value; mixed with the length when looked up.
constexpr uint32_t kHashSeed = 0x811C9DC5u;
uint32_t hashMore(uint32_t h, const char16_t* p, size_t from, size_t to) {
  for (size_t k = from; k < to; ++k)
    h = (h ^ p[k]) * 0x01000193u;
  return h;
}
uint32_t finish(uint32_t h, size_t n) {
  h = (h ^ uint32_t(n)) * 0x9E3779B9u;
  return h ^ (h >> 15);
}

}  // namespace

ReplaceScan::ReplaceScan(std::vector<Replacement> rules)
    : rules_(std::move(rules)), first_(65536, 0) {
  if (rules_.size() > 255) throw std::logic_error("too many replacement patterns");
  std::vector<Replacement> sorted = rules_;
  std::sort(sorted.begin(), sorted.end(),
            [](const Replacement& a, const Replacement& b) { return a.from < b.from; });
  for (size_t i = 0; i < sorted.size(); ++i) {
    if (sorted[i].from.empty()) throw std::logic_error("empty replacement pattern");
    // Sorted, a pattern that is a prefix of another sits right before one that starts with it.
    if (i > 0 && sorted[i].from.starts_with(sorted[i - 1].from))
      throw std::logic_error("replacement patterns are not prefix-free");
  }
  size_t slots = 16;
  while (slots < 4 * rules_.size())
    slots *= 2;
  slots_.assign(slots, 0);
  for (size_t r = 0; r < rules_.size(); ++r) {
    const StringView from = rules_[r].from;
    const char16_t start = from.front();
    if (first_[start] == 0) {
      groups_.emplace_back();
      first_[start] = uint8_t(groups_.size());
      if (start < 0x80)
        asciiStarts_ += start;
      else
        wideStarts_ = true;
    }
    Group& group = groups_[first_[start] - 1u];
    if (from.size() == 1) group.single = int(r);
    std::vector<uint32_t>& lengths = group.lengths;
    if (std::find(lengths.begin(), lengths.end(), from.size()) == lengths.end()) {
      lengths.push_back(uint32_t(from.size()));
      std::sort(lengths.begin(), lengths.end());
    }
    if (from.size() > 1) group.seconds |= uint64_t(1) << (from[1] & 63);
    size_t slot =
        finish(hashMore(kHashSeed, from.data(), 0, from.size()), from.size()) & (slots - 1);
    while (slots_[slot] != 0)
      slot = (slot + 1) & (slots - 1);
    slots_[slot] = uint16_t(r + 1);
  }
  // Each replacement followed by room for a fixed-size copy.
  for (const Replacement& rule : rules_) {
    toAt_.push_back(padded_.size());
    padded_.append(rule.to).append(TextWriter::kSlack, u'\0');
  }
}

inline int ReplaceScan::match(const char16_t* p, const char16_t* end) const {
  const uint8_t index = first_[*p];
  if (index == 0) return -1;
  const Group& group = groups_[index - 1u];
  if (group.single >= 0) return group.single;
  if (end - p < 2 || !(group.seconds >> (p[1] & 63) & 1)) return -1;
  const size_t mask = slots_.size() - 1;
  uint32_t h = kHashSeed;
  size_t hashed = 0;
  for (const uint32_t length : group.lengths) {
    if (length > size_t(end - p)) break;
    h = hashMore(h, p, hashed, length);
    hashed = length;
    for (size_t slot = finish(h, length) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
      const StringView from = rules_[slots_[slot] - 1u].from;
      if (from.size() != length) continue;
      size_t k = 0;
      while (k < length && from[k] == p[k])
        ++k;
      if (k == length) return slots_[slot] - 1;
    }
  }
  return -1;
}

String ReplaceScan::apply(StringView text) const {
  TextPasses passes(text);
  return passes.run(*this).take();
}

bool ReplaceScan::applyTo(StringView text, String& out) const {
  const char16_t* const data = text.data();
  const size_t n = text.size();
  const UnitFinder finder(asciiStarts_, wideStarts_, first_.data());
  int rule = -1;
  size_t at = 0;
  for (; (at = finder.next(data, n, at)) < n; ++at)
    if ((rule = match(data + at, data + n)) >= 0) break;
  if (rule < 0) return false;
  TextWriter writer(out, n + n / 4);
  size_t copied = 0;
  while (rule >= 0) {
    const size_t run = at - copied;
    const size_t length = rules_[size_t(rule)].to.size();
    writer.room(run + length);
    if (run <= TextWriter::kSlack && copied + TextWriter::kSlack <= n)
      writer.appendPadded(data + copied, run);
    else
      writer.append(data + copied, run);
    if (length <= TextWriter::kSlack)
      writer.appendPadded(padded_.data() + toAt_[size_t(rule)], length);
    else
      writer.append(rules_[size_t(rule)].to);
    copied = at + rules_[size_t(rule)].from.size();
    rule = -1;
    for (at = copied; (at = finder.next(data, n, at)) < n; ++at)
      if ((rule = match(data + at, data + n)) >= 0) break;
  }
  writer.append(data + copied, n - copied);
  return true;
}

bool replaceAllTo(StringView text, StringView what, StringView with, String& out) {
  size_t at = findText(text, what);
  if (at == StringView::npos) return false;
  TextWriter writer(out, text.size() + (with.size() > what.size() ? text.size() / 8 : 0));
  size_t from = 0;
  for (; at != StringView::npos; from = at + what.size(), at = findText(text, what, from)) {
    writer.append(text.data() + from, at - from);
    writer.append(with);
  }
  writer.append(text.data() + from, text.size() - from);
  return true;
}

}  // namespace zv::convert
