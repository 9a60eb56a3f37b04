// List-view models for the list-view tests: one made from lines of text, and one read back
// as one line of text.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "controls/models/ListView.h"
#include "frame/classes.h"

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

}  // namespace zvtest
