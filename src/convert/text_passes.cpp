#include "convert/text_passes.h"

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

TextPasses::~TextPasses() {
  if (shared_) tBuffersTaken = false;
}

}  // namespace zv::convert
