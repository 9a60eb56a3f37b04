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
// does. The cost is linear in the text: a table gives, for the unit at a position, the
// lengths of the patterns it starts, and a hash of that many units names the one candidate.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "runtime/text.h"

namespace zv::convert {

struct Replacement {
  StringView from;  // not empty
  StringView to;    // empty deletes
};

class ReplaceScan {
 public:
  explicit ReplaceScan(std::vector<Replacement> rules);

  String apply(StringView text) const;
  // The same in place of what `out` holds; false, and `out` untouched, when no pattern occurs.
  bool applyTo(StringView text, String& out) const;

 private:
  // Patterns starting with the same unit: the rule of the one-unit pattern if that is the
  // group (prefix-free, it is then alone), else the distinct lengths, shortest first.
  struct Group {
    int single = -1;
    std::vector<uint32_t> lengths;
    uint64_t seconds = 0;  // bit (u & 63) set for each second unit u of a pattern
  };
  // The rule whose pattern starts at p (units up to end), or -1.
  int match(const char16_t* p, const char16_t* end) const;

  std::vector<Replacement> rules_;
  // For each unit, 1 + the index in groups_ of the patterns it starts; 0 for none.
  std::vector<uint8_t> first_;
  std::vector<Group> groups_;
  // Open addressing on a hash of a pattern's units: 1 + the rule's index; 0 for empty.
  std::vector<uint16_t> slots_;
  String asciiStarts_;        // the units below 128 that start a pattern
  bool wideStarts_ = false;   // whether a unit from 128 up starts one
  String padded_;             // each replacement followed by TextWriter::kSlack units
  std::vector<size_t> toAt_;  // where each rule's replacement starts in padded_
};

// replaceAll in place of what `out` holds; false, and `out` untouched, when `what` does not
// occur.
bool replaceAllTo(StringView text, StringView what, StringView with, String& out);

}  // namespace zv::convert
