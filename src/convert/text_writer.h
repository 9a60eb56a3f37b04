// Output of a conversion written through a raw pointer: the string is sized ahead (doubling
// as needed) and cut to what was written at the end, so that each piece costs a copy and
// no capacity check of its own beyond one comparison.
#pragma once

#include <algorithm>
#include <cstring>

#include "runtime/text.h"

namespace zv::convert {

class TextWriter {
 public:
  // Room for one piece of at most kSlack units is checked together with the piece before.
  static constexpr size_t kSlack = 16;

  // Overwrites what `out` holds: sizing a string fills it, so a reused buffer is only
  // filled where it grows.
  TextWriter(String& out, size_t expected) : out_(out) {
    at_ = out_.data();
    if (out_.size() < expected + kSlack) out_.resize(expected + kSlack);
    at_ = out_.data();
    end_ = out_.data() + out_.size() - kSlack;
  }
  ~TextWriter() { out_.resize(size_t(at_ - out_.data())); }
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  void room(size_t units) {
    if (size_t(end_ - at_) < units) grow(units);
  }
  void append(const char16_t* from, size_t units) {
    room(units);
    std::memcpy(at_, from, units * sizeof(char16_t));
    at_ += units;
  }
  void append(StringView text) { append(text.data(), text.size()); }
  // `units` (at most kSlack) from `from`, where kSlack units can be read; room(units) first.
  void appendPadded(const char16_t* from, size_t units) {
    std::memcpy(at_, from, kSlack * sizeof(char16_t));
    at_ += units;
  }
  void put(char16_t c) {
    room(1);
    *at_++ = c;
  }

 private:
  void grow(size_t units) {
    const size_t used = size_t(at_ - out_.data());
    out_.resize(std::max(out_.size() * 2, used + units + kSlack + 64));
    at_ = out_.data() + used;
    end_ = out_.data() + out_.size() - kSlack;
  }

  String& out_;
  char16_t* at_ = nullptr;
  char16_t* end_ = nullptr;
};

}  // namespace zv::convert
