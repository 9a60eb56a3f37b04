// What the list-view routines use of the caller's list-view: its members reached
// late-bound by name, so any object that offers them serves (the library's model, the
// real control, a script's or a Python class). The library's model is reached through its
// typed interface instead, which behaves the same and costs far less.
#pragma once

#include "runtime/object.h"

namespace zv::listview {

ObjectRef headersOf(const ObjectRef& view);  // ColumnHeaders
ObjectRef rowsOf(const ObjectRef& view);     // ListItems
int32_t countOf(const ObjectRef& collection);
ObjectRef itemOf(const ObjectRef& collection, int32_t index);
String textOf(const ObjectRef& object);
void setText(const ObjectRef& object, const String& text);

// Column `column` of `row`: 1 is the row's own Text, k >= 2 its SubItems(k - 1).
String cellOf(const ObjectRef& row, int32_t column);
// SubItems(k) = text (k as an Integer).
void setCell(const ObjectRef& row, int32_t k, String text);
// The sub-items the row has made so far (ListSubItems.Count) and sub-item k of them.
int32_t createdSubItems(const ObjectRef& row);
ObjectRef subItemOf(const ObjectRef& row, int32_t k);

void setSelected(const ObjectRef& row, bool selected);
// A row's or a sub-item's ToolTipText.
void setToolTip(const ObjectRef& rowOrCell, const String& tip);
// A cell's ForeColor and Bold (the row itself, or one of its sub-items).
struct CellStyle {
  int32_t foreColor;
  bool bold;
};
CellStyle styleOf(const ObjectRef& cell);

// Add(, key, text): a new row or header at the end, without a key for an empty one.
ObjectRef addRow(const ObjectRef& rows, const String& key, String text);
ObjectRef addHeader(const ObjectRef& headers, const String& key, const String& text,
                    const Variant& width, const Variant& alignment);

// The exports' choice of rows "checked or selected": with `chosenOnly`, a row counts when it
// is checked (list-views with check boxes) or selected (the others); otherwise every row does.
class RowChoice {
 public:
  RowChoice(const ObjectRef& view, bool chosenOnly);
  bool takes(const ObjectRef& row) const;

 private:
  bool chosenOnly_;
  bool checkboxes_ = false;
};

// The item (column 1) or its sub-item `column - 1`: where a cell's ForeColor and Bold live.
ObjectRef cellObjectOf(const ObjectRef& row, int32_t column);

// `text` with every blank removed (the keys made from collection values).
String withoutBlanks(StringView text);

}  // namespace zv::listview
