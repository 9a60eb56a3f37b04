// The replacement engine as the conversions used it before the table-driven one: kept,
// unchanged but for its namespace, as the oracle the fuzz target checks the faster one by.
// An ordered group of whole-string replacements ("replace A by B, then C by D, ...")
// applied in one left-to-right scan.
//
// The scan looks for a pattern at each position, replaces the one found and goes on after
// it, never reading a replacement again. It gives exactly what applying the rules one after
// another gives when the group meets three conditions, which each group's definition shows:
//   1. no pattern is a prefix of another (at most one pattern matches at any position; the
//      constructor checks it);
//   2. where occurrences of two patterns can overlap, the one listed first starts first, so
//      the scan meets it first, as the chain would have replaced it first;
//   3. no replacement, together with the text around it, forms an occurrence of a pattern
//      listed after its own rule (the chain would replace that new occurrence, the scan
//      would not). Occurrences formed for rules listed earlier are left alone by both.
// Each rule on its own replaces non-overlapping occurrences from the start, as the chain
// does. The cost is linear in the text (a binary search among the patterns at positions
// whose character starts one).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "runtime/text.h"

namespace zv::text_oracle {

struct Replacement {
  StringView from;  // not empty
  StringView to;    // empty deletes
};

class ReplaceScan {
 public:
  explicit ReplaceScan(std::vector<Replacement> rules);

  String apply(StringView text) const;
  // The same into the empty `out`; false, and `out` untouched, when no pattern occurs.
  bool applyTo(StringView text, String& out) const;

 private:
  const Replacement* matchAt(StringView rest) const;
  // The first position from `from` where a pattern occurs, with that pattern; text.size() and
  // nullptr when none does.
  std::pair<size_t, const Replacement*> next(StringView text, size_t from) const;

  std::vector<Replacement> sorted_;
  // For each unit, 1 + the index in sorted_ of the first pattern it starts; 0 for none.
  std::vector<uint8_t> first_;
  // For the index of a group's first pattern, the index past its last one.
  std::vector<uint8_t> groupEnd_;
  String asciiStarts_;       // the units below 128 that start a pattern
  bool wideStarts_ = false;  // whether a unit from 128 up starts one
};

// replaceAll into the empty `out`; false, and `out` untouched, when `what` does not occur.
bool replaceAllTo(StringView text, StringView what, StringView with, String& out);

}  // namespace zv::text_oracle
