// The locale items on Windows: GetLocaleInfoW and GetLocaleInfoA themselves (the default
// LCIDs are in locale_win32.cpp).
#include <windows.h>

#include <string>

#include "platform/locale.h"

namespace zv::platform {

namespace {

// The code page GetLocaleInfoA writes a locale's text in: its default ANSI code page, or
// the system's with LOCALE_USE_CP_ACP.
UINT codePageOf(LCID lcid, int32_t type) {
  if (type & LOCALE_USE_CP_ACP) return CP_ACP;
  char digits[8] = {};
  if (GetLocaleInfoA(lcid, LOCALE_IDEFAULTANSICODEPAGE, digits, sizeof digits) <= 0) return CP_ACP;
  UINT codePage = 0;
  for (const char* p = digits; *p >= '0' && *p <= '9'; ++p)
    codePage = codePage * 10 + (*p - '0');
  return codePage == 0 ? CP_ACP : codePage;
}

}  // namespace

// Windows reads the user's locale afresh on every call: nothing to forget.
void resetLocaleCache() {}

String localeInfo(int32_t lcid, int32_t type) {
  const LCID id = static_cast<LCID>(lcid);
  // The first answer is the size with the terminating NUL; 0 means no such item.
  const int size = GetLocaleInfoW(id, static_cast<LCTYPE>(type), nullptr, 0);
  if (size <= 0) return {};
  std::wstring text(static_cast<size_t>(size), L'\0');
  const int written = GetLocaleInfoW(id, static_cast<LCTYPE>(type), text.data(), size);
  if (written <= 1) return {};
  return String(text.begin(), text.begin() + (written - 1));
}

String localeInfoAnsi(int32_t lcid, int32_t type) {
  const LCID id = static_cast<LCID>(lcid);
  const int size = GetLocaleInfoA(id, static_cast<LCTYPE>(type), nullptr, 0);
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  const int written = GetLocaleInfoA(id, static_cast<LCTYPE>(type), bytes.data(), size);
  if (written <= 0) return {};
  if (type & LOCALE_RETURN_NUMBER) {
    String raw;
    for (int i = 0; i < written; ++i)
      raw += static_cast<char16_t>(static_cast<unsigned char>(bytes[static_cast<size_t>(i)]));
    return raw;
  }
  if (written <= 1) return {};
  bytes.resize(static_cast<size_t>(written - 1));
  const UINT codePage = codePageOf(id, type);
  const int units =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                      units);
  return String(wide.begin(), wide.end());
}

}  // namespace zv::platform
