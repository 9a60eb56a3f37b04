// The library's Collection: 1-based, optional case-insensitive string keys, as VB's.
#pragma once

#include <vector>

#include "api/Collection.h"

namespace zv::models {

class Collection : public zv::Collection {
 public:
  void Add(const Variant& Item, const Variant& Key, const Variant& Before,
           const Variant& After) override;
  int32_t get_Count() override { return static_cast<int32_t>(items_.size()); }
  Variant Item(const Variant& Index) override;
  void Remove(const Variant& Index) override;
  std::vector<Variant> enumerate() override;

 private:
  struct Entry {
    String key;  // empty when the item has none
    Variant value;
  };
  // The 0-based position `index` names (a 1-based number or a key).
  size_t positionOf(const Variant& index) const;

  std::vector<Entry> items_;
};

}  // namespace zv::models
