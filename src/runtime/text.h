// String helpers with VB's meanings: 1-based positions, blanks are spaces only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "types.h"

namespace zv {

using StringView = std::u16string_view;

// UTF-8 <-> UTF-16 for hosts and diagnostics (lone surrogates become U+FFFD in UTF-8).
std::string toUtf8(StringView text);
String fromUtf8(std::string_view text);

// Trim, LTrim, RTrim: remove leading/trailing spaces (U+0020) only.
StringView trimView(StringView text);
String trim(StringView text);
String ltrim(StringView text);
String rtrim(StringView text);
inline bool isBlank(StringView text) { return trimView(text).empty(); }

// InStr: 1-based position of `what` in `text` from `start` (1-based), 0 when absent.
// An empty `what` is found at `start` when start <= Len(text) + 1.
int64_t instr(StringView text, StringView what, int64_t start = 1);
// InStrRev: 1-based position of the last `what` in `text`, 0 when absent.
int64_t instrRev(StringView text, StringView what);

// Left$, Right$, Mid$ with VB's clamping of counts and positions (start >= 1).
String left(StringView text, int64_t count);
String right(StringView text, int64_t count);
String mid(StringView text, int64_t start, int64_t count = -1);

// UCase$/LCase$ for the Latin, Greek and Cyrillic letters of the BMP.
String ucase(StringView text);
String lcase(StringView text);
char16_t upperChar(char16_t c);
char16_t lowerChar(char16_t c);

// Case-insensitive equality, as member names are compared.
bool equalsNoCase(StringView a, StringView b);

// A position or count kept in a 16-bit Integer: fails with error 6 beyond its range.
int16_t toInteger16(int64_t value);

String repeat(char16_t c, int64_t count);

// Replace every occurrence of `what` (non-empty) by `with`, in one pass.
String replaceAll(StringView text, StringView what, StringView with);

inline constexpr char16_t kCr = u'\r';
inline constexpr char16_t kLf = u'\n';
inline constexpr StringView kCrLf = u"\r\n";

}  // namespace zv
