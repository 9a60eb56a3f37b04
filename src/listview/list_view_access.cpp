#include "listview/list_view_access.h"

#include "api/ColumnHeaders.h"
#include "api/ListItem.h"
#include "api/ListItems.h"
#include "api/ListSubItem.h"
#include "api/ListSubItems.h"
#include "runtime/convert.h"
#include "runtime/via_model.h"

namespace zv::listview {

namespace {

Variant keyArgument(const String& key) {
  return key.empty() ? Variant::missing() : Variant(key);
}

}  // namespace

ObjectRef headersOf(const ObjectRef& view) {
  return toObject(get(view, u"ColumnHeaders"));
}

ObjectRef rowsOf(const ObjectRef& view) {
  return toObject(get(view, u"ListItems"));
}

int32_t countOf(const ObjectRef& collection) {
  return viaModel<zv::ListItems>(
      collection, [](zv::ListItems& rows) { return rows.get_Count(); },
      [&] {
        return viaModel<zv::ColumnHeaders>(
            collection, [](zv::ColumnHeaders& headers) { return headers.get_Count(); },
            [&] { return toLong(get(collection, u"Count")); });
      });
}

ObjectRef itemOf(const ObjectRef& collection, int32_t index) {
  return viaModel<zv::ListItems>(
      collection, [&](zv::ListItems& rows) { return rows.Item(Variant(index)); },
      [&] {
        return viaModel<zv::ListSubItems>(
            collection, [&](zv::ListSubItems& cells) { return cells.Item(Variant(index)); },
            [&] { return toObject(call(collection, u"Item", {Variant(index)})); });
      });
}

String textOf(const ObjectRef& object) {
  return viaModel<zv::ListItem>(
      object, [](zv::ListItem& row) { return row.get_Text(); },
      [&] { return toString(get(object, u"Text")); });
}

void setText(const ObjectRef& object, const String& text) {
  put(object, u"Text", Variant(text));
}

String cellOf(const ObjectRef& row, int32_t column) {
  if (column == 1) return textOf(row);
  const int16_t k = toInteger16(column - 1);
  return viaModel<zv::ListItem>(
      row, [&](zv::ListItem& item) { return item.get_SubItems(k); },
      [&] { return toString(get(row, u"SubItems", {Variant(k)})); });
}

void setCell(const ObjectRef& row, int32_t k, String text) {
  const int16_t index = toInteger16(k);
  viaModel<zv::ListItem>(
      row, [&](zv::ListItem& item) { item.let_SubItems(index, text); },
      [&] { put(row, u"SubItems", Variant(std::move(text)), {Variant(index)}); });
}

int32_t createdSubItems(const ObjectRef& row) {
  return countOf(toObject(get(row, u"ListSubItems")));
}

ObjectRef subItemOf(const ObjectRef& row, int32_t k) {
  return viaModel<zv::ListItem>(
      row, [&](zv::ListItem& item) { return itemOf(item.get_ListSubItems(), k); },
      [&] { return itemOf(toObject(get(row, u"ListSubItems")), k); });
}

void setSelected(const ObjectRef& row, bool selected) {
  viaModel<zv::ListItem>(
      row, [&](zv::ListItem& item) { item.let_Selected(selected); },
      [&] { put(row, u"Selected", Variant(selected)); });
}

void setToolTip(const ObjectRef& rowOrCell, const String& tip) {
  viaModel<zv::ListItem>(
      rowOrCell, [&](zv::ListItem& item) { item.let_ToolTipText(tip); },
      [&] {
        viaModel<zv::ListSubItem>(
            rowOrCell, [&](zv::ListSubItem& cell) { cell.let_ToolTipText(tip); },
            [&] { put(rowOrCell, u"ToolTipText", Variant(tip)); });
      });
}

CellStyle styleOf(const ObjectRef& cell) {
  return viaModel<zv::ListItem>(
      cell,
      [](zv::ListItem& item) {
        return CellStyle{item.get_ForeColor(), item.get_Bold()};
      },
      [&] {
        return viaModel<zv::ListSubItem>(
            cell,
            [](zv::ListSubItem& sub) {
              return CellStyle{sub.get_ForeColor(), sub.get_Bold()};
            },
            [&] {
              return CellStyle{toLong(get(cell, u"ForeColor")), toBoolean(get(cell, u"Bold"))};
            });
      });
}

ObjectRef addRow(const ObjectRef& rows, const String& key, String text) {
  return viaModel<zv::ListItems>(
      rows,
      [&](zv::ListItems& items) {
        return items.Add(Variant::missing(), keyArgument(key), Variant(std::move(text)));
      },
      [&] {
        // Built in place: a row's text may be a whole long line, copied once only.
        Args args;
        args.reserve(3);
        args.emplace_back(Variant::missing());
        args.emplace_back(keyArgument(key));
        args.emplace_back(Variant(std::move(text)));
        return toObject(call(rows, u"Add", std::move(args)));
      });
}

ObjectRef addHeader(const ObjectRef& headers, const String& key, const String& text,
                    const Variant& width, const Variant& alignment) {
  return toObject(call(headers, u"Add",
                       {Variant::missing(), keyArgument(key), Variant(text), width, alignment}));
}

RowChoice::RowChoice(const ObjectRef& view, bool chosenOnly) : chosenOnly_(chosenOnly) {
  if (chosenOnly_) checkboxes_ = toBoolean(get(view, u"Checkboxes"));
}

bool RowChoice::takes(const ObjectRef& row) const {
  if (!chosenOnly_) return true;
  return viaModel<zv::ListItem>(
      row,
      [&](zv::ListItem& item) { return checkboxes_ ? item.get_Checked() : item.get_Selected(); },
      [&] { return toBoolean(get(row, checkboxes_ ? u"Checked" : u"Selected")); });
}

ObjectRef cellObjectOf(const ObjectRef& row, int32_t column) {
  return column == 1 ? row : subItemOf(row, column - 1);
}

String withoutBlanks(StringView text) {
  String out;
  out.reserve(text.size());
  for (char16_t c : text)
    if (c != u' ') out += c;
  return out;
}

}  // namespace zv::listview
