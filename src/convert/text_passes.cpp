#include "convert/text_passes.h"

#include <cstring>
#include <vector>

#include "convert/unit_search.h"

namespace zv::convert {

namespace {

thread_local String tBuffers[2];
thread_local bool tBuffersTaken = false;

}  // namespace

TextPasses::TextPasses(StringView text) : input_(text), buffers_(own_) {
  if (!tBuffersTaken) {
    tBuffersTaken = shared_ = true;
    buffers_ = tBuffers;
  }
}

TextPasses& TextPasses::erase(StringView what) {
  if (holder_ < 0) return replace(what, u"");
  const StringView text = this->text();
  std::vector<size_t> found;
  for (size_t at = findText(text, what); at != StringView::npos;
       at = findText(text, what, at + what.size()))
    found.push_back(at);
  if (found.empty()) return *this;
  char16_t* const data = buffers_[holder_].data() + start_;
  const size_t n = text.size();
  const size_t m = what.size();
  const auto move = [](char16_t* to, const char16_t* from, size_t units) {
    std::memmove(to, from, units * sizeof(char16_t));
  };
  if (found.back() < n - found.front()) {
    // The pieces before the occurrences move right, the last piece first.
    size_t placed = found.back() + m;  // where the text already in place starts
    for (size_t k = found.size(); k-- > 0;) {
      const size_t from = k == 0 ? 0 : found[k - 1] + m;
      const size_t units = found[k] - from;
      placed -= units;
      move(data + placed, data + from, units);
    }
    start_ += placed;
  } else {
    // The pieces after the occurrences move left, the first piece first.
    size_t to = found.front();
    for (size_t k = 0; k < found.size(); ++k) {
      const size_t from = found[k] + m;
      const size_t units = (k + 1 < found.size() ? found[k + 1] : n) - from;
      move(data + to, data + from, units);
      to += units;
    }
    buffers_[holder_].resize(start_ + to);
  }
  return *this;
}

TextPasses::~TextPasses() {
  if (shared_) tBuffersTaken = false;
}

}  // namespace zv::convert
