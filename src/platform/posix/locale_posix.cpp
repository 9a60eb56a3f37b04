// The locale service on POSIX: the user's locale from the environment, the items of an
// LCID from ICU and the Windows forms (locale_items.cpp), and the 8-bit text
// GetLocaleInfoA makes of them.
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/locale.h"
#include "platform/posix/locale_forms.h"
#include "platform/posix/locale_icu.h"
#include "platform/posix/locale_items.h"
#include "runtime/ansi.h"

namespace zv::platform {

namespace {

std::mutex gMutex;
std::optional<int32_t> gUserLcid;

constexpr int32_t kNoUserOverride = static_cast<int32_t>(0x80000000u);
constexpr int32_t kUseCpAcp = 0x40000000;
constexpr int32_t kReturnNumber = 0x20000000;
constexpr int32_t kGenitiveNames = 0x10000000;
constexpr int32_t kAllowNeutralNames = 0x08000000;
constexpr int32_t kFlags =
    kNoUserOverride | kUseCpAcp | kReturnNumber | kGenitiveNames | kAllowNeutralNames;
constexpr int32_t kInvariant = 0x007F;

std::string_view localeFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return {};
}

// The LCID an item is read from: the default identifiers stand for the user's locale.
int32_t resolved(int32_t lcid) {
  switch (lcid) {
    case 0:       // LOCALE_NEUTRAL
    case 0x0400:  // LOCALE_USER_DEFAULT
    case 0x0C00:  // LOCALE_CUSTOM_DEFAULT
    case 0x1000:  // LOCALE_CUSTOM_UNSPECIFIED
    case 0x1400:  // LOCALE_CUSTOM_UI_DEFAULT
      return userLcid();
    case 0x0800:  // LOCALE_SYSTEM_DEFAULT
      return systemLcid();
  }
  return lcid;
}

// The invariant locale answers its own names and Windows' fixed forms; ICU's POSIX English
// gives the rest.
String invariantItem(int32_t type) {
  switch (type) {
    case 0x02:
    case 0x72:
      return u"Invariant Language (Invariant Country)";
    case 0x03:
      return u"IVL";
    case 0x04:
    case 0x1001:
    case 0x6F:
      return u"Invariant Language";
    case 0x06:
    case 0x08:
    case 0x1002:
      return u"Invariant Country";
    case 0x14:
      return u"\u00A4";
    case 0x1F:
      return u"MM/dd/yyyy";
    case 0x20:
      return u"dddd, dd MMMM yyyy";
    case 0x1003:
      return u"HH:mm:ss";
    case 0x59:
    case 0x5A:
      return type == 0x59 ? u"iv" : u"IV";
    case 0x5C:
    case 0x6E:
    case 0x7B:
      return {};
  }
  return windowsItem("en_US_POSIX", kInvariant, type, false);
}

// Windows' best fit of Windows-1252 for what it has no code of; "?" otherwise.
std::string toWindows1252(const String& text) {
  String fitted = text;
  for (char16_t& c : fitted)
    if (c == u'\u221E') c = u'8';
  return toAnsi(fitted);
}

}  // namespace

int32_t userLcid() {
  std::lock_guard lock(gMutex);
  if (!gUserLcid) gUserLcid = icu::lcidOf(localeFromEnvironment());
  return *gUserLcid;
}

int32_t systemLcid() {
  return userLcid();
}

void resetLocaleCache() {
  std::lock_guard lock(gMutex);
  gUserLcid.reset();
}

String localeInfo(int32_t lcid, int32_t type) {
  lcid = resolved(lcid);
  const int32_t item = type & ~kFlags;
  if (lcid == kInvariant) return invariantItem(item);
  const std::string locale = icu::localeOf(lcid);
  if (locale.empty()) return {};
  if (const char16_t* value = windowsOverride(lcid, item)) return value;
  return windowsItem(locale, lcid, item, (type & kGenitiveNames) != 0);
}

String localeInfoAnsi(int32_t lcid, int32_t type) {
  const String text = localeInfo(lcid, type);
  if (type & kReturnNumber) {
    // The number as the four bytes of a DWORD, each as the character of that code.
    bool hex = false;
    if (text.empty() || !isNumericItem(type & ~kFlags, hex)) return {};
    const uint32_t value = static_cast<uint32_t>(std::stoul(toUtf8(text), nullptr, hex ? 16 : 10));
    String bytes;
    for (int shift = 0; shift < 32; shift += 8)
      bytes += static_cast<char16_t>((value >> shift) & 0xFF);
    return bytes;
  }
  // In the locale's code page, or the system's (Windows-1252) with LOCALE_USE_CP_ACP;
  // locales of other code pages keep their characters, as the Windows face reads them
  // back through that code page.
  const String codePage = localeInfo(lcid, 0x1004);
  if ((type & kUseCpAcp) || codePage == u"1252") return fromAnsi(toWindows1252(text));
  return text;
}

}  // namespace zv::platform
