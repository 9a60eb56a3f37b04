#include "controls/models/list_view_parts.h"

namespace zv::models {

namespace {

template <class E>
void detachOne(E& e) {
  e.detach();
}

}  // namespace

String optionalText(const Variant& value) {
  return value.isMissing() ? String() : toString(value);
}

// ---------------------------------------------------------------------------- headers

void ColumnHeader::let_Key(const String& newValue) {
  if (!owner_) raiseControlError(kElementNotFound);
  owner_->list().rekey(*this, newValue);
}

void ColumnHeader::let_Alignment(int32_t newValue) {
  if (newValue < 0 || newValue > 2 || (newValue != 0 && position() == 1))
    raiseControlError(kInvalidPropertyValue);
  alignment_ = newValue;
}

ColumnHeaders::~ColumnHeaders() {
  headers_.clear(detachOne<ColumnHeader>);
}

ObjectRef ColumnHeaders::Add(const Variant& Index, const Variant& Key, const Variant& Text,
                             const Variant& Width, const Variant& Alignment, const Variant& Icon) {
  const size_t place = headers_.insertionPlace(Index);
  String key = headers_.newKey(Key);
  auto header = std::make_shared<ColumnHeader>(this);
  header->let_Text(optionalText(Text));
  if (!Width.isMissing()) header->let_Width(toSingle(Width));
  if (!Icon.isMissing()) header->let_Icon(Icon);
  const int32_t alignment = Alignment.isMissing() ? 0 : toLong(Alignment);
  if (alignment < 0 || alignment > 2 || (alignment != 0 && place == 0))
    raiseControlError(kInvalidPropertyValue);
  headers_.insert(header, std::move(key), place);
  header->let_Alignment(alignment);
  return header;
}

void ColumnHeaders::Remove(const Variant& Index) {
  const size_t place = headers_.placeOf(Index);
  headers_.removeAt(place, detachOne<ColumnHeader>);
  if (rows_) rows_->removeColumn(static_cast<int32_t>(place + 1));
}

void ColumnHeaders::Clear() {
  const int32_t columns = headers_.count();
  headers_.clear(detachOne<ColumnHeader>);
  if (rows_)
    for (int32_t column = columns; column >= 1; --column)
      rows_->removeColumn(column);
}

// ---------------------------------------------------------------------------- sub-items

void ListSubItem::let_Key(const String& newValue) {
  if (!owner_) raiseControlError(kElementNotFound);
  owner_->list().rekey(*this, newValue);
}

ListSubItems::~ListSubItems() {
  items_.clear(detachOne<ListSubItem>);
}

ObjectRef ListSubItems::Add(const Variant& Index, const Variant& Key, const Variant& Text,
                            const Variant& ReportIcon, const Variant& ToolTipText) {
  auto item = std::make_shared<ListSubItem>(this);
  item->let_Text(optionalText(Text));
  if (!ReportIcon.isMissing()) item->let_ReportIcon(ReportIcon);
  item->let_ToolTipText(optionalText(ToolTipText));
  return items_.add(item, Index, Key);
}

void ListSubItems::Remove(const Variant& Index) {
  items_.removeAt(items_.placeOf(Index), detachOne<ListSubItem>);
}

void ListSubItems::Clear() {
  items_.clear(detachOne<ListSubItem>);
}

ListSubItem& ListSubItems::upTo(int32_t k) {
  while (items_.count() < k)
    items_.insert(std::make_shared<ListSubItem>(this), String(), items_.items().size());
  return *items_.items()[static_cast<size_t>(k - 1)];
}

// ---------------------------------------------------------------------------- rows

void ListItem::let_Key(const String& newValue) {
  if (!owner_) raiseControlError(kElementNotFound);
  owner_->list().rekey(*this, newValue);
}

ListSubItems& ListItem::subItems() {
  if (!subItems_) subItems_ = std::make_shared<ListSubItems>();
  return *subItems_;
}

void ListItem::checkSubItemIndex(int16_t index) const {
  const int32_t columns = owner_ ? owner_->columnCount() : 0;
  if (index < 1 || index >= columns) raiseControlError(kInvalidPropertyValue);
}

String ListItem::get_SubItems(int16_t Index) {
  checkSubItemIndex(Index);
  if (!subItems_ || subItems_->get_Count() < Index) return {};
  return subItems_->list().items()[static_cast<size_t>(Index - 1)]->get_Text();
}

void ListItem::let_SubItems(int16_t Index, const String& newValue) {
  checkSubItemIndex(Index);
  subItems().upTo(Index).let_Text(newValue);
}

void ListItem::removeColumn(int32_t column) {
  if (!subItems_) return;
  auto& cells = subItems_->list();
  if (column == 1) {
    if (cells.count() == 0) return;
    let_Text(cells.items()[0]->get_Text());
    column = 2;
  }
  if (cells.count() >= column - 1)
    cells.removeAt(static_cast<size_t>(column - 2), detachOne<ListSubItem>);
}

ListItems::~ListItems() {
  rows_.clear(detachOne<ListItem>);
}

ObjectRef ListItems::Add(const Variant& Index, const Variant& Key, const Variant& Text,
                         const Variant& Icon, const Variant& SmallIcon) {
  auto row = std::make_shared<ListItem>(this);
  row->let_Text(optionalText(Text));
  if (!Icon.isMissing()) row->let_Icon(Icon);
  if (!SmallIcon.isMissing()) row->let_SmallIcon(SmallIcon);
  return rows_.add(row, Index, Key);
}

void ListItems::Remove(const Variant& Index) {
  rows_.removeAt(rows_.placeOf(Index), detachOne<ListItem>);
}

void ListItems::Clear() {
  rows_.clear(detachOne<ListItem>);
}

void ListItems::removeColumn(int32_t column) {
  for (const auto& row : rows_.items())
    row->removeColumn(column);
}

}  // namespace zv::models
