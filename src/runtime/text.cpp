#include "text.h"

#include <algorithm>

#include "errors.h"
#include "utf8.h"

namespace zv {

std::string toUtf8(StringView text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    appendUtf8(out, c);
  }
  return out;
}

String fromUtf8(std::string_view text) {
  String out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<unsigned char>(text[i]);
    char32_t c = 0xFFFD;
    size_t extra = 0;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F, extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F, extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07, extra = 3;
    }
    size_t j = 1;
    for (; j <= extra && i + j < text.size(); ++j) {
      auto cont = static_cast<unsigned char>(text[i + j]);
      if ((cont & 0xC0) != 0x80) break;
      c = (c << 6) | (cont & 0x3F);
    }
    if (j <= extra) c = 0xFFFD, extra = j - 1;
    i += 1 + extra;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

StringView trimView(StringView text) {
  size_t first = text.find_first_not_of(u' ');
  if (first == StringView::npos) return {};
  size_t last = text.find_last_not_of(u' ');
  return text.substr(first, last - first + 1);
}

String trim(StringView text) {
  return String(trimView(text));
}

String ltrim(StringView text) {
  size_t first = text.find_first_not_of(u' ');
  return first == StringView::npos ? String() : String(text.substr(first));
}

String rtrim(StringView text) {
  size_t last = text.find_last_not_of(u' ');
  return last == StringView::npos ? String() : String(text.substr(0, last + 1));
}

int64_t instr(StringView text, StringView what, int64_t start) {
  if (start < 1) raise(err::kInvalidCall);
  if (static_cast<uint64_t>(start) > text.size() + 1) return 0;
  size_t found = text.find(what, static_cast<size_t>(start - 1));
  return found == StringView::npos ? 0 : static_cast<int64_t>(found) + 1;
}

int64_t instrRev(StringView text, StringView what) {
  size_t found = text.rfind(what);
  return found == StringView::npos ? 0 : static_cast<int64_t>(found) + 1;
}

String left(StringView text, int64_t count) {
  if (count < 0) raise(err::kInvalidCall);
  return String(text.substr(0, static_cast<size_t>(std::min<int64_t>(count, text.size()))));
}

String right(StringView text, int64_t count) {
  if (count < 0) raise(err::kInvalidCall);
  size_t n = static_cast<size_t>(std::min<int64_t>(count, text.size()));
  return String(text.substr(text.size() - n));
}

String mid(StringView text, int64_t start, int64_t count) {
  if (start < 1) raise(err::kInvalidCall);
  if (static_cast<uint64_t>(start) > text.size()) return {};
  StringView rest = text.substr(static_cast<size_t>(start - 1));
  if (count < 0) return String(rest);
  return String(rest.substr(0, static_cast<size_t>(std::min<int64_t>(count, rest.size()))));
}

char16_t upperChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F))
    return static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  if (c >= 0x100 && c <= 0x17E && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddUpper ? (c % 2 == 0) : (c % 2 == 1)) return static_cast<char16_t>(c - 1);
  }
  return c;
}

char16_t lowerChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F))
    return static_cast<char16_t>(c + 32);
  if (c == 0x178) return 0xFF;
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  if (c >= 0x100 && c <= 0x17E && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddUpper ? (c % 2 == 1) : (c % 2 == 0)) return static_cast<char16_t>(c + 1);
  }
  return c;
}

String ucase(StringView text) {
  String out(text);
  for (auto& c : out)
    c = upperChar(c);
  return out;
}

String lcase(StringView text) {
  String out(text);
  for (auto& c : out)
    c = lowerChar(c);
  return out;
}

bool equalsNoCase(StringView a, StringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && upperChar(a[i]) != upperChar(b[i])) return false;
  return true;
}

int16_t toInteger16(int64_t value) {
  if (value < INT16_MIN || value > INT16_MAX) raise(err::kOverflow);
  return static_cast<int16_t>(value);
}

String repeat(char16_t c, int64_t count) {
  if (count < 0) raise(err::kInvalidCall);
  return String(static_cast<size_t>(count), c);
}

String replaceAll(StringView text, StringView what, StringView with) {
  String out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t at; (at = text.find(what, from)) != StringView::npos; from = at + what.size()) {
    out.append(text.substr(from, at - from));
    out.append(with);
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace zv
