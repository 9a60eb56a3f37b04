// UTF-8 helpers of the archiver, which keeps every name as UTF-8 inside (appendUtf8 comes
// from runtime/utf8.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/utf8.h"

namespace zv::archiver {

// The code point at `pos` and the bytes it takes; an invalid sequence gives U+FFFD and 1.
uint32_t nextCodePoint(std::string_view text, size_t& pos);

bool isValidUtf8(std::string_view text);
bool isAscii(std::string_view text);

// `text` with every "\" turned into "/".
std::string forwardSlashes(std::string_view text);

}  // namespace zv::archiver
