// The exports' lines, gathered and handed to the file a block at a time: one conversion to
// the code page and one write per block instead of per line. What was gathered reaches the
// file also when an export fails part way, so the lines written before stay.
#pragma once

#include "frame/file_numbers.h"
#include "runtime/text.h"

namespace zv::listview {

class LineWriter {
 public:
  explicit LineWriter(TextFile& out) : out_(out) { buffer_.reserve(kBlock + kBlock / 4); }
  ~LineWriter() {
    try {
      flush();
    } catch (...) {
      // Leaving through a failure: that failure is the one reported.
    }
  }
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // One line made of `parts`, then CR LF.
  template <class... Parts>
  void line(const Parts&... parts) {
    lineFrom([&](String& buffer) { (buffer.append(parts), ...); });
  }

  // One line that `write(buffer)` appends in place, then CR LF. A line left half made by a
  // failure is taken back: only whole lines reach the file.
  template <class Write>
  void lineFrom(Write write) {
    const size_t start = buffer_.size();
    try {
      write(buffer_);
    } catch (...) {
      buffer_.resize(start);
      throw;
    }
    buffer_.append(kCrLf);
    if (buffer_.size() >= kBlock) flush();
  }

  // The buffer keeps its storage from block to block; after a failed write it is emptied,
  // so leaving does not try the same lines again.
  void flush() {
    if (buffer_.empty()) return;
    try {
      out_.write(buffer_);
    } catch (...) {
      buffer_.clear();
      throw;
    }
    buffer_.clear();
  }

 private:
  static constexpr size_t kBlock = 1 << 15;
  TextFile& out_;
  String buffer_;
};

}  // namespace zv::listview
