// Every locale item (LCTYPE) in the form GetLocaleInfoW gives it: from ICU, from the
// Windows forms of the twelve locales the library is tried in, or derived from other items
// as Windows derives them.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/types.h"

namespace zv::platform {

// The item `type` (without flag bits) of LCID `lcid`, ICU locale `locale`; "" for an item
// Windows does not have. `genitive`: month names as they stand in a date ("de janvier").
String windowsItem(const std::string& locale, int32_t lcid, int32_t type, bool genitive);

// Whether an item is a number, as LOCALE_RETURN_NUMBER can give it; `hex` for the two
// written in hexadecimal.
bool isNumericItem(int32_t type, bool& hex);

}  // namespace zv::platform
