// The system's 8-bit ANSI code page, Windows-1252: text handed to files, platform
// services and external libraries goes through it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text.h"

namespace zv {

// Characters without a Windows-1252 code become '?'.
std::string toAnsi(StringView text);
// The same, added to the end of `out`.
void appendAnsi(std::string& out, StringView text);
String fromAnsi(std::string_view bytes);

// Asc: the ANSI code of `c` ('?' = 63 when it has none); Chr: the character of a code.
uint8_t ansiCode(char16_t c);
char16_t ansiChar(uint8_t code);

}  // namespace zv
