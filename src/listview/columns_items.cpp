// Rows and headers from collections, clearing, one column into a list box or combo box,
// headers into rows, sub-item colours and automatic tips.
#include <vector>

#include "frame/traps.h"
#include "frame/varnix.h"
#include "listview/LstViewLib.h"
#include "listview/list_view_access.h"

namespace zv::impl {

using namespace listview;

bool LstViewLib::AddItemsFromColl(ObjectRef& theList, ObjectRef& theColl) {
  bool result = false;
  if (!theList || !theColl) return result;
  int32_t i = 0;
  reportAndReturn(
      [&] {
        const int32_t count = countOf(theColl);
        if (count < 1 || countOf(headersOf(theList)) < 1) return;
        const ObjectRef rows = rowsOf(theList);
        call(rows, u"Clear");
        for (i = 1; i <= count; ++i) {
          const String value = trim(toString(call(theColl, u"Item", {Variant(i)})));
          if (value.empty()) continue;
          // The key: the value without blanks, then the collection index written twice.
          const String number = longToString(i);
          addRow(rows, withoutBlanks(value) + number + number, value);
        }
        result = true;
      },
      [&] { return u"Error on adding the Items from Coll: " + longToString(i); });
  return result;
}

bool LstViewLib::CreateHeadersFromColl(ObjectRef& theListVw, ObjectRef& theColl) {
  bool result = false;
  if (!theColl) return result;
  if (!theListVw) {
    ReportError(u"LIB - Unable to initialize table, destination is null", false);
    return result;
  }
  int32_t i = 0;
  reportAndReturn(
      [&] {
        const int32_t count = countOf(theColl);
        if (count < 1) {
          ReportError(
              u"LIB - Unable to initialize table, items list is empty: " + longToString(count),
              false);
          return;
        }
        ClearListViewAndHeaders(theListVw);
        const ObjectRef headers = headersOf(theListVw);
        for (i = 1; i <= count; ++i) {
          const String value = trim(toString(call(theColl, u"Item", {Variant(i)})));
          if (value.empty()) continue;
          addHeader(headers, withoutBlanks(value) + longToString(i), value, Variant(int16_t{1300}),
                    Variant(int16_t{0}));
        }
        result = true;
      },
      [&] { return u"LIB - Error on create the Headers: " + longToString(i); });
  return result;
}

void LstViewLib::ClearListViewAndHeaders(ObjectRef& theMainList) {
  if (!theMainList) return;
  reportAndReturn(
      [&] {
        const ObjectRef headers = headersOf(theMainList);
        const int32_t count = countOf(headers);
        if (count < 1) return;
        call(rowsOf(theMainList), u"Clear");
        for (int32_t i = count; i >= 1; --i)
          call(headers, u"Remove", {Variant(i)});
      },
      u"Error on ListView cleaning function");
}

namespace {

// Column `theColumn` of every row into a list: through iExistInListBox or
// iExistInComboBox, which add a value only when the list does not hold it yet.
template <class Lookup>
bool copyColumn(const ObjectRef& view, const ObjectRef& list, int16_t theColumn,
                bool acceptEmptyValue, Lookup lookup, const char16_t* message) {
  bool result = false;
  if (!view || !list) return result;
  int32_t i = 0;
  reportAndReturn(
      [&] {
        const int32_t columns = countOf(headersOf(view));
        const ObjectRef rows = rowsOf(view);
        const int32_t count = countOf(rows);
        if (columns < 1 || count < 1 || theColumn < 1 || theColumn > columns) return;
        for (i = 1; i <= count; ++i) {
          const ObjectRef row = itemOf(rows, i);
          // A sub-item never made gives an empty value.
          const String value = theColumn == 1 || createdSubItems(row) >= theColumn - 1
                                   ? cellOf(row, theColumn)
                                   : String();
          if (!isBlank(value) || acceptEmptyValue) lookup(list, value, true);
        }
        result = true;
      },
      [&] { return message + longToString(i); });
  return result;
}

}  // namespace

bool LstViewLib::CopyColumnToListBox(ObjectRef& theListVw, ObjectRef& theListBx, int16_t theColumn,
                                     bool acceptEmptyValue) {
  return copyColumn(theListVw, theListBx, theColumn, acceptEmptyValue, iExistInListBox,
                    u"Error on ListView column copy to standard List > ");
}

bool LstViewLib::CopyColumnToComboBox(ObjectRef& theListVw, ObjectRef& theComboBx,
                                      int16_t theColumn, bool acceptEmptyValue) {
  return copyColumn(theListVw, theComboBx, theColumn, acceptEmptyValue, iExistInComboBox,
                    u"Error on ListView column copy to combo List > ");
}

bool LstViewLib::CopyListViewHeaderToRow(ObjectRef& theLsvHeader, ObjectRef& theTarget) {
  bool result = false;
  if (!theLsvHeader || !theTarget) return result;
  reportAndReturn(
      [&] {
        const ObjectRef headers = headersOf(theLsvHeader);
        const int32_t count = countOf(headers);
        if (count < 1) return;
        const ObjectRef rows = rowsOf(theTarget);
        call(rows, u"Clear");
        for (int32_t i = 1; i <= count; ++i)
          put(addRow(rows, String(), textOf(itemOf(headers, i))), u"Selected", Variant(false));
        put(theTarget, u"Tag", Variant(countOf(rows)));
        result = true;
      },
      u"Unable to copy Header list to another list");
  return result;
}

bool LstViewLib::ChangeItemSubItemsForeColor(ObjectRef& theListItem, int32_t newColor) {
  bool result = false;
  if (!theListItem) return result;
  int32_t k = 0;
  reportAndReturn(
      [&] {
        const ObjectRef cells = toObject(get(theListItem, u"ListSubItems"));
        const int32_t count = countOf(cells);
        for (k = 1; k <= count; ++k)
          put(itemOf(cells, k), u"ForeColor", Variant(newColor));
        result = true;
      },
      [&] { return u"Error on changing items color: " + longToString(k); });
  return result;
}

bool LstViewLib::SetAutomaticTips(ObjectRef& theMainList, bool& withHeader, bool& withError,
                                  int16_t& withoutSubColumn1, int16_t& withoutSubColumn2) {
  bool result = false;
  if (!theMainList) return result;
  onError(
      [&] {
        const ObjectRef headers = headersOf(theMainList);
        const ObjectRef rows = rowsOf(theMainList);
        const int32_t columns = countOf(headers);
        const int32_t count = countOf(rows);
        if (count < 1 || columns < 1) return;
        // The headers' trimmed texts, the prefixes of the tips when withHeader is set.
        std::vector<String> captions;
        if (withHeader)
          for (int32_t c = 1; c <= columns; ++c)
            captions.push_back(trim(textOf(itemOf(headers, c))));
        auto tip = [&](int32_t column, const String& text) {
          return withHeader && !captions[column - 1].empty() ? captions[column - 1] + u" : " + text
                                                             : text;
        };
        auto excluded = [&](int32_t k) { return k == withoutSubColumn1 || k == withoutSubColumn2; };
        for (int32_t i = 1; i <= count; ++i) {
          const ObjectRef row = itemOf(rows, i);
          if (!excluded(0)) {
            const String text = trim(textOf(row));
            if (!text.empty()) setToolTip(row, tip(1, text));
          }
          for (int32_t k = 1; k < columns; ++k) {
            if (excluded(k)) continue;
            const String cell = trim(cellOf(row, k + 1));
            if (!cell.empty()) setToolTip(subItemOf(row, k), tip(k + 1, cell));
          }
        }
        result = true;
      },
      [&] {
        if (withError)
          ReportError(u"Error on automatic setting Tips", false);
        else
          clearPendingError();
      });
  return result;
}

void LstViewLib::SetProgressBar(ObjectRef& theBar) {
  progress_->SetProgressBar(theBar, false);
}

}  // namespace zv::impl
