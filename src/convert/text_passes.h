// A text rewritten by a series of passes. Each pass reads the text as it stands and, when it
// changes something, writes the whole new text into the other of two buffers, which then
// becomes the text: a pass that finds nothing to change copies nothing, and however many
// passes there are, a long text costs at most two allocations. The buffers are the thread's
// own and kept from one conversion to the next (all but the one handed out as the result),
// so that a long text does not meet fresh memory at each pass: on a virtual machine the
// page faults of fresh memory cost more than the copying itself.
#pragma once

#include "convert/replace_scan.h"
#include "runtime/text.h"

namespace zv::convert {

class TextPasses {
 public:
  explicit TextPasses(StringView text);
  ~TextPasses();
  TextPasses(const TextPasses&) = delete;
  TextPasses& operator=(const TextPasses&) = delete;

  // `pass(text, out)` writes the new text into the empty `out` and returns true, or returns
  // false and leaves the text as it is.
  template <class Pass>
  TextPasses& run(Pass&& pass) {
    const int target = holder_ == 0 ? 1 : 0;
    buffers_[target].clear();
    if (pass(text(), buffers_[target])) holder_ = target;
    return *this;
  }
  TextPasses& run(const ReplaceScan& scan) {
    return run([&scan](StringView text, String& out) { return scan.applyTo(text, out); });
  }
  TextPasses& replace(StringView what, StringView with) {
    return run([=](StringView text, String& out) { return replaceAllTo(text, what, with, out); });
  }

  StringView text() const { return holder_ < 0 ? input_ : StringView(buffers_[holder_]); }
  String take() { return holder_ < 0 ? String(input_) : std::move(buffers_[holder_]); }

 private:
  StringView input_;
  String own_[2];        // when the thread's buffers are taken by another conversion
  String* buffers_;      // the thread's buffers or own_
  bool shared_ = false;  // whether buffers_ are the thread's
  int holder_ = -1;      // the buffer holding the text; -1 while it is still the input
};

}  // namespace zv::convert
