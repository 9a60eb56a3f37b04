// The item list shared by the list box and combo box models.
#pragma once

#include <vector>

#include "controls/models/control_errors.h"
#include "runtime/convert.h"
#include "runtime/errors.h"

namespace zv::models {

template <class Interface>
class ListControl : public Interface {
 public:
  void Clear() override {
    items_.clear();
    newIndex_ = -1;
    listIndex_ = -1;
  }
  void AddItem(const String& Item, const Variant& Index) override {
    int32_t at = Index.isMissing() ? count() : toLong(Index);
    if (at < 0 || at > count()) raise(err::kInvalidCall);
    items_.insert(items_.begin() + at, Item);
    newIndex_ = at;
  }
  void RemoveItem(int32_t Index) override {
    if (Index < 0 || Index >= count()) raise(err::kInvalidCall);
    items_.erase(items_.begin() + Index);
  }
  // Past the last item List reads as empty; a negative index is refused (error 381).
  String get_List(int32_t Index) override {
    if (Index < 0) raiseControlError(kInvalidPropertyIndex);
    return Index < count() ? items_[Index] : String();
  }
  void let_List(int32_t Index, const String& newValue) override {
    if (Index < 0 || Index >= count()) raiseControlError(kInvalidPropertyIndex);
    items_[Index] = newValue;
  }
  int32_t get_ListCount() override { return count(); }
  int32_t get_ListIndex() override { return listIndex_; }
  void let_ListIndex(int32_t newValue) override {
    if (newValue < -1 || newValue >= count()) raiseControlError(kInvalidPropertyValue);
    listIndex_ = newValue;
  }
  int32_t get_NewIndex() override { return newIndex_; }

 protected:
  int32_t count() const { return static_cast<int32_t>(items_.size()); }
  String selectedText() const { return listIndex_ >= 0 ? items_[listIndex_] : String(); }

 private:
  std::vector<String> items_;
  int32_t newIndex_ = -1;
  int32_t listIndex_ = -1;
};

}  // namespace zv::models
