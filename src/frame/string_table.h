// The library's string table (resources/strings_1033.tsv and strings_1036.tsv): texts by
// id in English and French, chosen by the user's language.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "runtime/types.h"

namespace zv {

struct StringTableEntry {
  int32_t id;
  const char16_t* english;
  const char16_t* french;
};
extern const StringTableEntry kStringTable[];
extern const size_t kStringTableSize;

// The text `id` of the table of locale `lcid`: French for the French locales (primary
// language 0x0C), English for every other; "" for an id the table does not hold.
String loadString(int32_t id, int32_t lcid);
// The same in the user's language.
String loadString(int32_t id);

}  // namespace zv
