// A text rewritten by a series of passes. Each pass reads the text as it stands and, when it
// changes something, writes the whole new text into the other of two buffers, which then
// becomes the text: a pass that finds nothing to change copies nothing, and however many
// passes there are, a long text costs at most two allocations. The buffers are the thread's
// own and kept from one conversion to the next, and the result is a copy of the one holding
// the text, sized exactly: a long text meets fresh memory once, for the result, not at
// each pass and each growth, since on a virtual machine the page faults of fresh memory
// cost more than the copying itself.
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

  // `pass(text, out)` writes the new text in place of what `out` holds and returns true, or
  // returns false and leaves the text as it is. `out` is not emptied first: a TextWriter
  // overwrites it and so zero-fills only what the buffer grows by.
  template <class Pass>
  TextPasses& run(Pass&& pass) {
    const int target = holder_ == 0 ? 1 : 0;
    if (pass(text(), buffers_[target])) {
      holder_ = target;
      start_ = 0;
    }
    return *this;
  }
  TextPasses& run(const ReplaceScan& scan) {
    return run([&scan](StringView text, String& out) { return scan.applyTo(text, out); });
  }
  TextPasses& replace(StringView what, StringView with) {
    return run([=](StringView text, String& out) { return replaceAllTo(text, what, with, out); });
  }
  // Deletes every occurrence of `what` (not empty) in place once the text is in a buffer,
  // moving whichever side of the occurrences is shorter: deleting a header near the start of
  // a long text moves only what comes before it.
  TextPasses& erase(StringView what);

  StringView text() const {
    return holder_ < 0 ? input_ : StringView(buffers_[holder_]).substr(start_);
  }
  String take() {
    if (holder_ < 0) return String(input_);
    if (shared_ || start_ != 0) return String(text());
    return std::move(buffers_[holder_]);
  }

 private:
  StringView input_;
  String own_[2];        // when the thread's buffers are taken by another conversion
  String* buffers_;      // the thread's buffers or own_
  bool shared_ = false;  // whether buffers_ are the thread's
  int holder_ = -1;      // the buffer holding the text; -1 while it is still the input
  size_t start_ = 0;     // where the text starts in that buffer
};

}  // namespace zv::convert
