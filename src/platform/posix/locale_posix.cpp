#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/locale.h"

namespace zv::platform {

namespace {

struct LocaleName {
  std::string_view name;  // language_TERRITORY, or a language alone
  int32_t lcid;
};

// POSIX locale names and their Windows identifiers.
constexpr LocaleName kLocales[] = {
    {"en_US", 1033}, {"en_GB", 2057}, {"en_AU", 3081}, {"en_CA", 4105}, {"en_NZ", 5129},
    {"en_IE", 6153}, {"fr_FR", 1036}, {"fr_BE", 2060}, {"fr_CA", 3084}, {"fr_CH", 4108},
    {"fr_LU", 5132}, {"de_DE", 1031}, {"de_CH", 2055}, {"de_AT", 3079}, {"es_ES", 3082},
    {"es_MX", 2058}, {"it_IT", 1040}, {"it_CH", 2064}, {"nl_NL", 1043}, {"nl_BE", 2067},
    {"pt_BR", 1046}, {"pt_PT", 2070}, {"ja_JP", 1041}, {"sv_SE", 1053}, {"da_DK", 1030},
    {"nb_NO", 1044}, {"fi_FI", 1035}, {"pl_PL", 1045}, {"ru_RU", 1049}, {"zh_CN", 2052},
    {"en", 1033},    {"fr", 1036},    {"de", 1031},    {"es", 3082},    {"it", 1040},
    {"nl", 1043},    {"pt", 2070},    {"ja", 1041}};

std::string_view localeFromEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return {};
}

int32_t lcidOf(std::string_view name) {
  name = name.substr(0, name.find_first_of(".@"));
  for (const auto& locale : kLocales)
    if (locale.name == name) return locale.lcid;
  std::string_view language = name.substr(0, name.find('_'));
  for (const auto& locale : kLocales)
    if (locale.name == language) return locale.lcid;
  return kLcidEnglishUS;
}

}  // namespace

int32_t userLcid() { return lcidOf(localeFromEnvironment()); }

int32_t systemLcid() { return userLcid(); }

}  // namespace zv::platform
