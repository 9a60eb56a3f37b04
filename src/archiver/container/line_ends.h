// Line-end conversion of text entries, chunk by chunk (a CR at the end of one chunk waits
// for the next).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zv::archiver {

enum class LineEnds { Keep, ToLf, ToCrLf };

class LineEndConverter {
 public:
  explicit LineEndConverter(LineEnds mode) : mode_(mode) {}

  // CR LF becomes LF (ToLf), or a LF without its CR becomes CR LF (ToCrLf).
  const std::string& convert(const uint8_t* data, size_t size);
  // What is still held back at the end of the data.
  const std::string& end();

 private:
  LineEnds mode_;
  bool pendingCr_ = false;
  bool previousCr_ = false;
  std::string out_;
};

// Info-ZIP's test: control codes other than the usual white space mark a binary file.
bool looksLikeText(const uint8_t* data, size_t size);

}  // namespace zv::archiver
