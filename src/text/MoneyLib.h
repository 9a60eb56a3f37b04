// MoneyLib: amounts read from text typed with a point or a comma, and written back with a
// pattern, always with the decimal separator of the user's locale.
#pragma once

#include <optional>

#include "api/MoneyLib.h"

namespace zv::impl {

class MoneyLib final : public zv::MoneyLib {
 public:
  String ChangeToDecimal(const String& theText) override;
  Currency GetCurrency(const String& theAmount) override;
  double GetDouble(const String& theAmount) override;
  String GetCurrencyFormat(Currency theAmount, const String& theFormat) override;
  String GetDoubleFormat(double theAmount, const String& theFormat) override;
  String FormatCurrencyString(const String& theAmount, const String& theFormat) override;
  String FormatDoubleString(const String& theValue, const String& theFormat) override;

 private:
  // The locale's decimal separator, asked of SystemLib on first need and kept.
  const String& localeDecimal();

  std::optional<String> decimal_;
};

}  // namespace zv::impl
