#include "archiver/text.h"

namespace zv::archiver {

uint32_t nextCodePoint(std::string_view text, size_t& pos) {
  constexpr uint32_t kReplacement = 0xFFFD;
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t b = byte(pos);
  size_t length;
  uint32_t c;
  if (b < 0x80) {
    ++pos;
    return b;
  } else if (b >= 0xC2 && b <= 0xDF) {
    length = 2, c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3, c = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4, c = b & 0x07;
  } else {
    ++pos;
    return kReplacement;
  }
  if (pos + length > text.size()) {
    ++pos;
    return kReplacement;
  }
  for (size_t k = 1; k < length; ++k) {
    if ((byte(pos + k) & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    c = (c << 6) | (byte(pos + k) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  const uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < minimum[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
    ++pos;
    return kReplacement;
  }
  pos += length;
  return c;
}

bool isValidUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    if (nextCodePoint(text, pos) == 0xFFFD &&
        !(pos - start == 3 && text.substr(start, 3) == "\xEF\xBF\xBD"))
      return false;
  }
  return true;
}

bool isAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  return true;
}

std::string forwardSlashes(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

}  // namespace zv::archiver
