#include "listview/list_view_access.h"

#include "runtime/convert.h"

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
  return toLong(get(collection, u"Count"));
}

ObjectRef itemOf(const ObjectRef& collection, int32_t index) {
  return toObject(call(collection, u"Item", {Variant(index)}));
}

String textOf(const ObjectRef& object) {
  return toString(get(object, u"Text"));
}

void setText(const ObjectRef& object, const String& text) {
  put(object, u"Text", Variant(text));
}

String cellOf(const ObjectRef& row, int32_t column) {
  if (column == 1) return textOf(row);
  return toString(get(row, u"SubItems", {Variant(toInteger16(column - 1))}));
}

int32_t createdSubItems(const ObjectRef& row) {
  return countOf(toObject(get(row, u"ListSubItems")));
}

ObjectRef subItemOf(const ObjectRef& row, int32_t k) {
  return itemOf(toObject(get(row, u"ListSubItems")), k);
}

ObjectRef addRow(const ObjectRef& rows, const String& key, String text) {
  // Built in place: a row's text may be a whole long line, copied once only.
  Args args;
  args.reserve(3);
  args.emplace_back(Variant::missing());
  args.emplace_back(keyArgument(key));
  args.emplace_back(Variant(std::move(text)));
  return toObject(call(rows, u"Add", std::move(args)));
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
  return !chosenOnly_ || toBoolean(get(row, checkboxes_ ? u"Checked" : u"Selected"));
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
