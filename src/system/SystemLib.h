// SystemLib: the locale information methods (the system information and launching
// members come later and fail with 438 until then).
#pragma once

#include "api/SystemLib.h"

namespace zv::impl {

class SystemLib final : public zv::SystemLib {
 public:
  String GetALocaleInfo(int32_t theLCID, int32_t& theLCType) override;
  String GetLocaleIdLanguage(int32_t theLCID = 0) override;
  String GetLocaleLanguage(int32_t theLCID = 0) override;
  String GetLocaleDecimal(int32_t theLCID = 0) override;
  String GetLocaleCountry(int32_t theLCID = 0) override;
  String GetLocaleThousand(int32_t theLCID = 0) override;
  String GetLocaleCurrency(int32_t theLCID = 0) override;
  String GetLocaleTimeFormat(int32_t theLCID = 0) override;
  String GetLocaleShortDate(int32_t theLCID = 0) override;
  String GetLocaleSeparatorDate(int32_t theLCID = 0) override;
  String GetLocaleSeparatorTime(int32_t theLCID = 0) override;
  String GetLocaleLongDate(int32_t theLCID = 0) override;
  String GetLocaleAbbrevCountryName(int32_t theLCID = 0) override;
  String GetTheLocaleInfo(int32_t theLCID = 0) override;

 private:
  String item(int32_t theLCID, int32_t type);
};

}  // namespace zv::impl
