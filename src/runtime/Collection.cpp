#include "runtime/Collection.h"

#include "runtime/convert.h"
#include "runtime/errors.h"

namespace zv::models {

size_t Collection::positionOf(const Variant& index) const {
  if (index.isString()) {
    const String& key = index.stringValue();
    for (size_t i = 0; i < items_.size(); ++i)
      if (!items_[i].key.empty() && equalsNoCase(items_[i].key, key)) return i;
    raise(err::kInvalidCall);
  }
  const int32_t number = toLong(index);
  if (number < 1 || static_cast<size_t>(number) > items_.size()) raise(err::kSubscriptOutOfRange);
  return static_cast<size_t>(number - 1);
}

void Collection::Add(const Variant& Item, const Variant& Key, const Variant& Before,
                     const Variant& After) {
  String key;
  if (!Key.isMissing()) {
    if (!Key.isString()) raise(err::kTypeMismatch);
    key = Key.stringValue();
    for (const Entry& e : items_)
      if (!e.key.empty() && equalsNoCase(e.key, key)) raise(err::kDuplicateKey);
  }
  if (!Before.isMissing() && !After.isMissing()) raise(err::kInvalidCall);
  size_t at = items_.size();
  if (!Before.isMissing()) at = positionOf(Before);
  if (!After.isMissing()) at = positionOf(After) + 1;
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), Entry{std::move(key), Item});
}

Variant Collection::Item(const Variant& Index) { return items_[positionOf(Index)].value; }

void Collection::Remove(const Variant& Index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(positionOf(Index)));
}

std::vector<Variant> Collection::enumerate() {
  std::vector<Variant> values;
  values.reserve(items_.size());
  for (const Entry& e : items_) values.push_back(e.value);
  return values;
}

}  // namespace zv::models
