// A list-view model as one line of text, for the list-view tests' expectations.
#pragma once

#include "controls/models/ListView.h"

namespace zvtest {

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
