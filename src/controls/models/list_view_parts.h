// The parts of the list-view model: its column headers and rows, each row's sub-items.
// A part that outlives the list-view it came from keeps its values; what it would need
// of the list-view then answers as for an empty one.
#pragma once

#include <memory>

#include "api/ColumnHeader.h"
#include "api/ColumnHeaders.h"
#include "api/ListItem.h"
#include "api/ListItems.h"
#include "api/ListSubItem.h"
#include "api/ListSubItems.h"
#include "controls/models/keyed_list.h"

namespace zv::models {

class ColumnHeaders;
class ListItems;
class ListSubItems;

class ColumnHeader final : public zv::ColumnHeader, public CollectionMember {
 public:
  explicit ColumnHeader(ColumnHeaders* owner) : owner_(owner) {}
  String get_Key() override { return key(); }
  void let_Key(const String& newValue) override;
  int32_t get_Alignment() override { return alignment_; }
  // 0 left, 1 right, 2 centre; the first column stays left-aligned (error 380).
  void let_Alignment(int32_t newValue) override;
  int32_t get_Index() override { return position(); }
  int32_t get_SubItemIndex() override { return position() > 0 ? position() - 1 : 0; }
  void detach() { owner_ = nullptr; }

 private:
  ColumnHeaders* owner_;
  int32_t alignment_ = 0;
};

class ColumnHeaders final : public zv::ColumnHeaders {
 public:
  ~ColumnHeaders() override;
  int32_t get_Count() override { return headers_.count(); }
  ObjectRef Item(const Variant& Index) override { return headers_.at(Index); }
  ObjectRef Add(const Variant& Index, const Variant& Key, const Variant& Text, const Variant& Width,
                const Variant& Alignment, const Variant& Icon) override;
  // Removes the header and its column from every row; later columns move down one place.
  void Remove(const Variant& Index) override;
  void Clear() override;
  std::vector<Variant> enumerate() override { return list().variants(); }

  KeyedList<ColumnHeader>& list() { return headers_; }
  void attachRows(ListItems* rows) { rows_ = rows; }

 private:
  KeyedList<ColumnHeader> headers_;
  ListItems* rows_ = nullptr;
};

class ListSubItem final : public zv::ListSubItem, public CollectionMember {
 public:
  explicit ListSubItem(ListSubItems* owner) : owner_(owner) {}
  String get_Key() override { return key(); }
  void let_Key(const String& newValue) override;
  int32_t get_ForeColor() override { return foreColor_; }
  void let_ForeColor(int32_t newValue) override { foreColor_ = checkedColor(newValue); }
  int32_t get_Index() override { return position(); }
  void detach() { owner_ = nullptr; }

 private:
  ListSubItems* owner_;
  int32_t foreColor_ = 0;
};

class ListSubItems final : public zv::ListSubItems {
 public:
  ~ListSubItems() override;
  int32_t get_Count() override { return items_.count(); }
  ObjectRef Item(const Variant& Index) override { return items_.at(Index); }
  ObjectRef Add(const Variant& Index, const Variant& Key, const Variant& Text,
                const Variant& ReportIcon, const Variant& ToolTipText) override;
  void Remove(const Variant& Index) override;
  void Clear() override;
  std::vector<Variant> enumerate() override { return list().variants(); }

  KeyedList<ListSubItem>& list() { return items_; }
  // Sub-item `k`, creating the empty ones up to it first.
  ListSubItem& upTo(int32_t k);

 private:
  KeyedList<ListSubItem> items_;
};

class ListItem final : public zv::ListItem, public CollectionMember {
 public:
  explicit ListItem(ListItems* owner) : owner_(owner) {}
  String get_Key() override { return key(); }
  void let_Key(const String& newValue) override;
  int32_t get_ForeColor() override { return foreColor_; }
  void let_ForeColor(int32_t newValue) override { foreColor_ = checkedColor(newValue); }
  int32_t get_Index() override { return position(); }
  bool EnsureVisible() override { return true; }
  String get_SubItems(int16_t Index) override;
  void let_SubItems(int16_t Index, const String& newValue) override;
  ObjectRef get_ListSubItems() override {
    subItems();
    return subItems_;
  }

  // The sub-items, made on first need (most rows of a long list never ask).
  ListSubItems& subItems();
  void detach() { owner_ = nullptr; }
  // Column `column` (1-based) leaves the row: its cell goes, later cells move down.
  void removeColumn(int32_t column);

 private:
  void checkSubItemIndex(int16_t index) const;

  ListItems* owner_;
  int32_t foreColor_ = 0;
  std::shared_ptr<ListSubItems> subItems_;
};

class ListItems final : public zv::ListItems {
 public:
  ~ListItems() override;
  int32_t get_Count() override { return rows_.count(); }
  ObjectRef Item(const Variant& Index) override { return rows_.at(Index); }
  ObjectRef Add(const Variant& Index, const Variant& Key, const Variant& Text, const Variant& Icon,
                const Variant& SmallIcon) override;
  void Remove(const Variant& Index) override;
  void Clear() override;
  std::vector<Variant> enumerate() override { return list().variants(); }

  KeyedList<ListItem>& list() { return rows_; }
  void attachHeaders(ColumnHeaders* headers) { headers_ = headers; }
  int32_t columnCount() const { return headers_ ? headers_->get_Count() : 0; }
  void removeColumn(int32_t column);

 private:
  KeyedList<ListItem> rows_;
  ColumnHeaders* headers_ = nullptr;
};

// The text of an optional Variant argument: "" when left out.
String optionalText(const Variant& value);

}  // namespace zv::models
