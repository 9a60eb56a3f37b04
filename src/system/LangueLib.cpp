#include "system/LangueLib.h"

#include "platform/locale.h"

namespace zv::impl {

namespace {

// An item of the system's default locale; "" when the platform has none.
String systemItem(int32_t type) {
  return platform::localeInfoAnsi(platform::systemLcid(), type);
}

}  // namespace

String LangueLib::GetDefaultCountry() {
  return systemItem(platform::lctype::kCountryCode);
}

String LangueLib::GetDefaultUserLanguage() {
  return systemItem(platform::lctype::kLanguage) + u'\t' +
         systemItem(platform::lctype::kAbbrevLanguage);
}

}  // namespace zv::impl
