#include "archiver/container/line_ends.h"

namespace zv::archiver {

const std::string& LineEndConverter::convert(const uint8_t* data, size_t size) {
  out_.clear();
  for (size_t i = 0; i < size; ++i) {
    const char c = static_cast<char>(data[i]);
    if (mode_ == LineEnds::ToLf) {
      if (pendingCr_ && c != '\n') out_ += '\r';
      pendingCr_ = c == '\r';
      if (!pendingCr_) out_ += c;
    } else if (mode_ == LineEnds::ToCrLf) {
      if (c == '\n' && !previousCr_) out_ += '\r';
      previousCr_ = c == '\r';
      out_ += c;
    } else {
      out_ += c;
    }
  }
  return out_;
}

const std::string& LineEndConverter::end() {
  out_.assign(pendingCr_ ? "\r" : "");
  pendingCr_ = false;
  return out_;
}

bool looksLikeText(const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    const uint8_t b = data[i];
    if (b < 7 || (b > 13 && b < 32 && b != 26 && b != 27)) return false;
  }
  return size > 0;
}

}  // namespace zv::archiver
