#include "demo_listview.h"

#include <cstdio>

#include "api/LstViewLib.h"
#include "control_forms.h"
#include "demo_output.h"
#include "frame/classes.h"
#include "runtime/convert.h"

namespace zvv {

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;

ObjectRef collectionOf(std::initializer_list<const char16_t*> values) {
  ObjectRef coll = zv::createModel(u"Collection");
  for (const char16_t* v : values)
    zv::call(coll, u"Add", {Variant(v)});
  return coll;
}

String number(int32_t value) {
  return zv::longToString(value);
}

}  // namespace

void listViewDemoPart() {
  std::puts("List-view (LstViewLib on the ListView model)");
  auto lib = zv::LstViewLib::create();
  ObjectRef view = zv::createModel(u"ListView");
  ObjectRef headers = collectionOf({u"City", u"Country", u"Population"});
  ObjectRef cities = collectionOf({u"S\u00e3o Paulo", u"  ", u"Z\u00fcrich", u"Lyon"});
  say(u"CreateHeadersFromColl(3 captions)",
      zv::booleanToString(lib->CreateHeadersFromColl(view, headers)));
  say(u"AddItemsFromColl(4, one blank)", zv::booleanToString(lib->AddItemsFromColl(view, cities)));
  const String countries[] = {u"Brazil", u"Switzerland", u"France"};
  const String sizes[] = {u"12.3 M", u"0.4 M", u"0.5 M"};
  const ObjectRef rows = zv::toObject(zv::get(view, u"ListItems"));
  for (int32_t i = 1; i <= 3; ++i) {
    const ObjectRef row = zv::toObject(zv::call(rows, u"Item", {Variant(i)}));
    zv::put(row, u"SubItems", Variant(countries[i - 1]), {Variant(int16_t{1})});
    zv::put(row, u"SubItems", Variant(sizes[i - 1]), {Variant(int16_t{2})});
  }
  say(u"the list-view", listViewText(view));

  bool addIt = false, checkIt = false;
  String icon;
  say(u"FindItemFromText(\"Lyon\")",
      number(lib->FindItemFromText(view, u"Lyon", addIt, checkIt, icon)));
  say(u"FindItemFromText(\"lyon\")",
      number(lib->FindItemFromText(view, u"lyon", addIt, checkIt, icon)));
  addIt = true;
  say(u"FindItemFromText(\"Oslo\", addIt)",
      number(lib->FindItemFromText(view, u"Oslo", addIt, checkIt, icon)));
  say(u"FindItemFromSubItem(\"France\", 1)",
      number(lib->FindItemFromSubItem(view, u"France", 1, addIt = false, checkIt, icon)));
  say(u"CountStringFromColumn(\"SWI\", 1)", number(lib->CountStringFromColumn(view, u"SWI", 1)));
  say(u"CountHeaderCaption(\"City\")", number(lib->CountHeaderCaption(view, u"City")));
  say(u"isMoveColumnAndHeaderToLast(1)",
      zv::booleanToString(lib->isMoveColumnAndHeaderToLast(view, 1)));
  say(u"the list-view", listViewText(view));
}

}  // namespace zvv
