// The list-view routines on the list-view model, late-bound as every host reaches it, at
// half and full size (default 100,000 rows of 10 columns): the list filled through
// AddItemsFromColl (and its sub-items), copied through CopyListToList, then searched with
// FindItemFromText misses.
//
// Peer of the search: the same misses as a direct C++ loop over the same model (one
// virtual get_Text a row). The search makes two late-bound accesses a row (Item, Text), so
// the peer's time counts twice: the ratio is what one late-bound access costs against one
// direct virtual call. CPU time, the best of two rounds, each round in a process of its own
// (fresh_process.h). One JSON line a measurement (record.h), for bench/report.
//   zv_listview_bench [ROWS]
#include <algorithm>
#include <cstdlib>

#include "api/LstViewLib.h"
#include "controls/models/ListView.h"
#include "cpu_time.h"
#include "frame/classes.h"
#include "fresh_process.h"
#include "record.h"
#include "runtime/convert.h"

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;
using zv::bench::timed;

constexpr int16_t kColumns = 10;
constexpr int kMisses = 50;

struct Times {
  double fill, copy, search, direct;  // the search and the direct loop per miss
};

Times measure(int32_t rows) {
  auto lib = zv::LstViewLib::create();
  auto source = std::make_shared<zv::models::ListView>();
  auto copy = std::make_shared<zv::models::ListView>();
  ObjectRef sourceRef = source, copyRef = copy;
  ObjectRef values = zv::createModel(u"Collection");
  ObjectRef captions = zv::createModel(u"Collection");
  for (int16_t c = 1; c <= kColumns; ++c)
    zv::call(captions, u"Add", {Variant(u"Column " + zv::longToString(c))});
  for (int32_t i = 1; i <= rows; ++i)
    zv::call(values, u"Add", {Variant(u"row " + zv::longToString(i))});
  lib->CreateHeadersFromColl(sourceRef, captions);

  Times t{};
  t.fill = timed([&] {
    lib->AddItemsFromColl(sourceRef, values);
    const ObjectRef items = zv::toObject(zv::get(sourceRef, u"ListItems"));
    for (int32_t i = 1; i <= rows; ++i) {
      const ObjectRef row = zv::toObject(zv::call(items, u"Item", {Variant(i)}));
      for (int16_t k = 1; k < kColumns; ++k)
        zv::put(row, u"SubItems", Variant(u"cell"), {Variant(k)});
    }
  });
  bool force = false;
  t.copy = timed([&] { lib->CopyListToList(sourceRef, copyRef, force); });
  bool addIt = false, checkIt = false;
  String icon;
  int32_t found = 0;
  t.search = timed([&] {
               for (int m = 0; m < kMisses; ++m)
                 found += lib->FindItemFromText(copyRef, u"nowhere", addIt, checkIt, icon);
             }) /
             kMisses;
  const String wanted = u"nowhere";
  t.direct = timed([&] {
               for (int m = 0; m < kMisses; ++m)
                 for (const auto& row : copy->rows().list().items())
                   if (row->get_Text() == wanted) ++found;
             }) /
             kMisses;
  if (found != 0 || copy->rows().get_Count() != rows) std::abort();
  return t;
}

// The best of two rounds, field by field, each in a child process that first touches about
// what a round of `rows` rows will use.
Times best(int32_t rows) {
  constexpr size_t kBytesPerRow = 8192;
  auto round = [rows] {
    return zv::bench::inFreshProcess(size_t(rows) * kBytesPerRow, [rows] { return measure(rows); });
  };
  const Times a = round(), b = round();
  return {std::min(a.fill, b.fill), std::min(a.copy, b.copy), std::min(a.search, b.search),
          std::min(a.direct, b.direct)};
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t full = argc > 1 ? std::atoi(argv[1]) : 100000;
  for (int32_t rows : {full / 2, full}) {
    const Times t = best(rows);
    using zv::bench::Record;
    zv::bench::emit(Record{.operation = "LstViewLib.AddItemsFromColl + SubItems, 10 columns",
                           .unit = "rows",
                           .size = rows,
                           .seconds = t.fill});
    zv::bench::emit(Record{.operation = "LstViewLib.CopyListToList, 10 columns",
                           .unit = "rows",
                           .size = rows,
                           .seconds = t.copy});
    zv::bench::emit(Record{"LstViewLib.FindItemFromText, a miss", "rows", rows, 0, t.search,
                           "direct C++ loop x2 (one late-bound access vs one virtual call)",
                           2 * t.direct});
  }
  return 0;
}
