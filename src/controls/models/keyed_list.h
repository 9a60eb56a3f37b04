// The collections of the common controls (column headers, list items, sub-items, nodes,
// images): elements at 1-based positions, each with an optional key unique in its
// collection. Keys compare exactly, case included.
#pragma once

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "controls/models/control_errors.h"
#include "runtime/convert.h"

namespace zv::models {

// What an element of a keyed collection carries: its position (0 once removed) and key.
class CollectionMember {
 public:
  int32_t position() const { return position_; }
  const String& key() const { return key_; }

 private:
  template <class>
  friend class KeyedList;
  int32_t position_ = 0;
  String key_;
};

template <class E>
class KeyedList {
 public:
  int32_t count() const { return static_cast<int32_t>(items_.size()); }
  const std::vector<std::shared_ptr<E>>& items() const { return items_; }
  // The elements as For Each sees them.
  std::vector<Variant> variants() const { return {items_.begin(), items_.end()}; }

  // The 0-based place `index` names: a text is a key (35601 when unknown), anything
  // else a position 1 to count (35600 outside).
  size_t placeOf(const Variant& index) const {
    if (index.isString()) {
      const auto it = keys_.find(index.stringValue());
      if (it == keys_.end()) raiseControlError(kElementNotFound);
      return static_cast<size_t>(it->second->position_ - 1);
    }
    const int32_t position = toLong(index);
    if (position < 1 || position > count()) raiseControlError(kIndexOutOfBounds);
    return static_cast<size_t>(position - 1);
  }
  const std::shared_ptr<E>& at(const Variant& index) const { return items_[placeOf(index)]; }

  // A key a caller gives for a new element: none when left out, Empty or ""; a key that
  // is not a text is 35603, one in use 35602.
  String newKey(const Variant& key) const {
    if (key.isMissing() || key.isEmpty()) return {};
    if (!key.isString()) raiseControlError(kInvalidKey);
    checkFree(key.stringValue());
    return key.stringValue();
  }
  // Where a new element goes: the end when `before` is left out, else before position
  // `before` (1 to count + 1).
  size_t insertionPlace(const Variant& before) const {
    if (before.isMissing() || before.isEmpty()) return items_.size();
    const int32_t position = toLong(before);
    if (position < 1 || position > count() + 1) raiseControlError(kIndexOutOfBounds);
    return static_cast<size_t>(position - 1);
  }

  // A collection's Add: `element` goes before position `before` (at the end when left out)
  // under `key`, both checked first.
  std::shared_ptr<E> add(std::shared_ptr<E> element, const Variant& before, const Variant& key) {
    const size_t place = insertionPlace(before);
    if (key.isMissing() || key.isEmpty()) return insertAt(std::move(element), place);
    if (!key.isString()) raiseControlError(kInvalidKey);
    // One lookup both checks the key and takes it (long lists are bound by memory).
    if (!key.stringValue().empty() && !keys_.try_emplace(key.stringValue(), element.get()).second)
      raiseControlError(kKeyNotUnique);
    element->key_ = key.stringValue();
    return insertAt(std::move(element), place);
  }

  // Inserts `element` at 0-based `place` under `key` (checked by newKey).
  E& insert(std::shared_ptr<E> element, String key, size_t place) {
    E& e = *element;
    e.key_ = std::move(key);
    if (!e.key_.empty()) keys_.emplace(e.key_, &e);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(place), std::move(element));
    renumberFrom(place);
    return e;
  }

  void rekey(E& element, const String& key) {
    if (key == element.key_) return;
    if (!key.empty()) checkFree(key);
    if (!element.key_.empty()) keys_.erase(element.key_);
    element.key_ = key;
    if (!key.empty() && element.position_ > 0) keys_.emplace(key, &element);
  }

  // Removes every element `doomed` answers true for, in one pass; each is told first.
  template <class Predicate, class Detach>
  void removeIf(Predicate doomed, Detach detach) {
    size_t kept = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      if (doomed(*items_[i])) {
        forget(*items_[i]);
        detach(*items_[i]);
      } else {
        items_[kept++] = std::move(items_[i]);
      }
    }
    items_.resize(kept);
    renumberFrom(0);
  }
  template <class Detach>
  void removeAt(size_t place, Detach detach) {
    E* target = items_[place].get();
    removeIf([target](const E& e) { return &e == target; }, detach);
  }
  template <class Detach>
  void clear(Detach detach) {
    for (const auto& e : items_) {
      e->position_ = 0;
      detach(*e);
    }
    items_.clear();
    keys_.clear();
  }

 private:
  std::shared_ptr<E> insertAt(std::shared_ptr<E> element, size_t place) {
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(place), element);
    renumberFrom(place);
    return element;
  }
  void checkFree(const String& key) const {
    if (keys_.count(key)) raiseControlError(kKeyNotUnique);
  }
  void forget(E& e) {
    if (!e.key_.empty()) keys_.erase(e.key_);
    e.position_ = 0;
  }
  void renumberFrom(size_t place) {
    for (size_t i = place; i < items_.size(); ++i)
      items_[i]->position_ = static_cast<int32_t>(i + 1);
  }

  std::vector<std::shared_ptr<E>> items_;
  std::unordered_map<String, E*> keys_;
};

}  // namespace zv::models
