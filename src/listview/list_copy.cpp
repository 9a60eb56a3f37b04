// One list-view copied into another: headers, display settings, rows and sub-items, with
// the instance's progress bar advancing on the way.
#include "frame/traps.h"
#include "frame/varnix.h"
#include "listview/LstViewLib.h"
#include "listview/list_view_access.h"

namespace zv::impl {

using namespace listview;

namespace {

// The display settings the copy carries over, after Checkboxes.
constexpr const char16_t* kSettings[] = {
    u"Tag",         u"Sorted",    u"SortOrder",     u"AllowColumnReorder",
    u"Appearance",  u"Arrange",   u"FullRowSelect", u"MultiSelect",
    u"ToolTipText", u"LabelEdit", u"LabelWrap",     u"GridLines"};

void copyMembers(const ObjectRef& from, const ObjectRef& to,
                 std::initializer_list<const char16_t*> names) {
  for (const char16_t* name : names)
    put(to, name, get(from, name));
}

}  // namespace

bool LstViewLib::CopyListToList(ObjectRef& srcList, ObjectRef& destList,
                                bool& forceCheckBoxUsingOnDest) {
  bool result = false;
  if (!srcList || !destList) return result;
  // Where a failure happened: 1 the headers, 2 the settings, 3 the rows.
  int32_t step = 0, row = 0, subItem = 0;
  reportAndReturn(
      [&] {
        const ObjectRef srcHeaders = headersOf(srcList);
        const int32_t columns = countOf(srcHeaders);
        if (columns < 1) return;
        const ObjectRef srcRows = rowsOf(srcList);
        const int32_t count = countOf(srcRows);
        progress_->InitProgressBar(1, count + columns + 2, false);

        step = 1;
        ClearListViewAndHeaders(destList);
        const ObjectRef destHeaders = headersOf(destList);
        for (int32_t c = 1; c <= columns; ++c) {
          const ObjectRef h = itemOf(srcHeaders, c);
          addHeader(destHeaders, toString(get(h, u"Key")), textOf(h), get(h, u"Width"),
                    get(h, u"Alignment"));
          progress_->AddProgressBarValue(1, false);
        }
        if (countOf(destHeaders) != columns) {
          ReportError(u"Error on headers List View copy", false);
          return;
        }

        step = 2;
        const bool checkboxes = toBoolean(get(srcList, u"Checkboxes"));
        put(destList, u"Checkboxes", Variant(forceCheckBoxUsingOnDest || checkboxes));
        for (const char16_t* name : kSettings)
          put(destList, name, get(srcList, name));

        step = 3;
        const ObjectRef destRows = rowsOf(destList);
        for (row = 1; row <= count; ++row) {
          const ObjectRef from = itemOf(srcRows, row);
          const ObjectRef to = addRow(destRows, toString(get(from, u"Key")), textOf(from));
          copyMembers(from, to, {u"Tag", u"ForeColor", u"ToolTipText"});
          if (checkboxes) copyMembers(from, to, {u"Checked"});
          const ObjectRef fromCells = toObject(get(from, u"ListSubItems"));
          const ObjectRef toCells = toObject(get(to, u"ListSubItems"));
          const int32_t cells = countOf(fromCells);
          for (subItem = 1; subItem <= cells; ++subItem) {
            const ObjectRef cell = itemOf(fromCells, subItem);
            put(to, u"SubItems", get(cell, u"Text"), {Variant(toInteger16(subItem))});
            copyMembers(cell, itemOf(toCells, subItem),
                        {u"Tag", u"ForeColor", u"Bold", u"ToolTipText"});
          }
          subItem = 0;
          progress_->AddProgressBarValue(1, false);
        }
        if (countOf(destRows) != count) {
          ReportError(u"Error on items List View copy", false);
          return;
        }
        result = true;
      },
      [&] {
        return u"Error on List View copy: " + longToString(step) + u"/" + longToString(row) + u"/" +
               longToString(subItem);
      });
  progress_->unSetProgressBar(false);
  return result;
}

bool LstViewLib::CopyListToTmpList(ObjectRef& srcList, ObjectRef& destList,
                                   bool& forceCheckBoxUsingOnDest) {
  return CopyListToList(srcList, destList, forceCheckBoxUsingOnDest);
}

}  // namespace zv::impl
