// Models for the list-view and tree-view tests: a list-view made from lines of text and one
// read back as one line of text; tree-view nodes and images.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "controls/models/ListView.h"
#include "frame/classes.h"
#include "runtime/convert.h"

namespace zvtest {

// A list-view: the first line its headers, each further line a row (its Text, then the
// sub-items made for it).
inline std::shared_ptr<zv::models::ListView> listView(
    std::initializer_list<std::vector<zv::String>> lines) {
  auto lv = std::make_shared<zv::models::ListView>();
  const zv::Variant m = zv::Variant::missing();
  for (const zv::String& h : *lines.begin())
    lv->headers().Add(m, m, zv::Variant(h), m, m, m);
  for (auto line = lines.begin() + 1; line < lines.end(); ++line) {
    auto row = lv->rows().Add(m, m, zv::Variant((*line)[0]), m, m);
    for (size_t k = 1; k < line->size(); ++k)
      zv::put(row, u"SubItems", zv::Variant((*line)[k]), {zv::Variant(static_cast<int16_t>(k))});
  }
  return lv;
}

// "H1|H2;a|b;c": headers, then each row's text and the sub-items made for it.
inline zv::String listViewText(zv::models::ListView& lv) {
  zv::String out;
  for (const auto& h : lv.headers().list().items())
    out += (out.empty() ? u"" : u"|") + h->get_Text();
  for (const auto& row : lv.rows().list().items()) {
    out += u";" + row->get_Text();
    for (const auto& cell : row->subItems().list().items())
      out += u"|" + cell->get_Text();
  }
  return out;
}

inline zv::ObjectRef nodesOf(const zv::ObjectRef& tree) {
  return zv::toObject(zv::get(tree, u"Nodes"));
}

// A node added as the last child of `parent` (nullptr: the last root).
inline zv::ObjectRef addNode(const zv::ObjectRef& tree, const char16_t* parent, const char16_t* key,
                             const char16_t* text,
                             const zv::Variant& image = zv::Variant::missing()) {
  const zv::Variant relative = parent ? zv::Variant(parent) : zv::Variant::missing();
  return zv::toObject(
      zv::call(nodesOf(tree), u"Add",
               {relative, zv::Variant(int16_t{4}), zv::Variant(key), zv::Variant(text), image}));
}

// Gives the tree an image list holding these keys.
inline void giveImages(const zv::ObjectRef& tree, std::initializer_list<const char16_t*> keys) {
  zv::ObjectRef images = zv::createModel(u"ImageList");
  for (const char16_t* key : keys)
    zv::call(zv::toObject(zv::get(images, u"ListImages")), u"Add",
             {zv::Variant::missing(), zv::Variant(key)});
  zv::putRef(tree, u"ImageList", images);
}

}  // namespace zvtest
