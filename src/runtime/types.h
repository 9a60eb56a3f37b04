// The Automation scalar types that have no direct C++ counterpart.
#pragma once

#include <cstdint>
#include <string>

namespace zv {

// Counted string of 16-bit units; positions in the library's algorithms are 1-based.
using String = std::u16string;

// VB Boolean values as seen by callers: True is -1, False is 0.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

// 64-bit fixed point with four decimals (ten-thousandths).
struct Currency {
  int64_t units = 0;
  static constexpr int64_t kScale = 10000;
  friend bool operator==(Currency, Currency) = default;
};

// OLE Automation date: days since 1899-12-30, time as the fraction of a day.
struct Date {
  double days = 0.0;
  friend bool operator==(Date, Date) = default;
};

// The Error variant a caller sees for a missing optional argument (DISP_E_PARAMNOTFOUND).
inline constexpr int32_t kParamNotFound = static_cast<int32_t>(0x80020004u);

}  // namespace zv
