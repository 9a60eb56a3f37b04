#include "frame/string_table.h"

#include "platform/locale.h"

namespace zv {

namespace {
constexpr int32_t kFrench = 0x0C;
}

String loadString(int32_t id, int32_t lcid) {
  for (size_t i = 0; i < kStringTableSize; ++i)
    if (kStringTable[i].id == id)
      return (lcid & 0x3FF) == kFrench ? kStringTable[i].french : kStringTable[i].english;
  return String();
}

String loadString(int32_t id) {
  return loadString(id, platform::userLcid());
}

}  // namespace zv
