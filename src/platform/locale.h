// The user's and the system's locale identifiers (LCIDs).
#pragma once

#include <cstdint>

namespace zv::platform {

inline constexpr int32_t kLcidEnglishUS = 1033;
inline constexpr int32_t kLcidFrenchFrance = 1036;

// The user's locale. On POSIX: LC_ALL, then LC_MESSAGES, then LANG ("fr_FR.UTF-8" is
// 1036; unset, "C" or "POSIX" is 1033).
int32_t userLcid();
int32_t systemLcid();

}  // namespace zv::platform
