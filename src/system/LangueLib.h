// LangueLib: country code and user language of the system's default locale.
#pragma once

#include "api/LangueLib.h"

namespace zv::impl {

class LangueLib final : public zv::LangueLib {
 public:
  String GetDefaultCountry() override;
  String GetDefaultUserLanguage() override;
};

}  // namespace zv::impl
