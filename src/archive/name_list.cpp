#include "archive/name_list.h"

#include "runtime/ansi.h"
#include "runtime/errors.h"

namespace zv::impl {

AnsiNameList::AnsiNameList(const std::vector<String>& names)
    : count_(static_cast<int>(names.size())), texts_(kSlots), slots_(kSlots) {
  if (names.size() >= kSlots) raise(err::kSubscriptOutOfRange);
  for (size_t i = 0; i < names.size(); ++i)
    texts_[i] = toAnsi(names[i]);
  for (size_t i = 0; i < kSlots; ++i)
    slots_[i] = texts_[i].data();
}

}  // namespace zv::impl
