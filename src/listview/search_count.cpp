// The first row or header matching a value (adding one when asked), and counts of rows
// matching a text, checked, selected, and of headers with a caption.
#include "frame/traps.h"
#include "frame/varnix.h"
#include "listview/LstViewLib.h"
#include "listview/list_view_access.h"

namespace zv::impl {

using namespace listview;

template <class Matches>
int32_t LstViewLib::firstRow(const ObjectRef& rows, int32_t& position, Matches matches) {
  const int32_t count = countOf(rows);
  for (position = 1; position <= count; ++position)
    if (matches(itemOf(rows, position))) return position;
  return 0;
}

void LstViewLib::prepareAddedRow(const ObjectRef& view, const ObjectRef& row, bool checkIt,
                                 const String& theIcon) {
  if (!theIcon.empty()) {
    put(row, u"Icon", Variant(theIcon));
    put(row, u"SmallIcon", Variant(theIcon));
  }
  if (toBoolean(get(view, u"Checkboxes"))) put(row, u"Checked", Variant(checkIt));
  put(row, u"Selected", Variant(false));
}

int32_t LstViewLib::FindItemFromText(ObjectRef& theList, const String& theText, bool& addIt,
                                     bool& checkIt, String& theIcon) {
  int32_t result = 0;
  if (!theList || isBlank(theText)) return result;
  int32_t i = 0;
  reportAndReturn(
      [&] {
        const ObjectRef rows = rowsOf(theList);
        result = firstRow(rows, i, [&](const ObjectRef& row) { return textOf(row) == theText; });
        if (result || !addIt) return;
        const ObjectRef row = addRow(rows, String(), theText);
        result = toLong(get(row, u"Index"));
        prepareAddedRow(theList, row, checkIt, theIcon);
      },
      [&] { return u"Error on finding text value in list: " + longToString(i); });
  return result;
}

int32_t LstViewLib::FindItemFromSubItem(ObjectRef& theListView, const String& theText,
                                        int16_t theSubId, bool& addIt, bool& checkIt,
                                        String& theIcon) {
  int32_t result = 0;
  if (!theListView || isBlank(theText) || theSubId < 1) return result;
  int32_t i = 0;
  reportAndReturn(
      [&] {
        // The sub-item must name a column there is.
        if (theSubId >= countOf(headersOf(theListView))) return;
        const ObjectRef rows = rowsOf(theListView);
        const Variant sub(theSubId);
        result = firstRow(rows, i, [&](const ObjectRef& row) {
          return toString(get(row, u"SubItems", {sub})) == theText;
        });
        if (result || !addIt) return;
        const ObjectRef row = addRow(rows, String(), String());
        result = toLong(get(row, u"Index"));
        put(row, u"SubItems", Variant(theText), {sub});
        prepareAddedRow(theListView, row, checkIt, theIcon);
      },
      [&] { return u"Error on finding subItem value in list: " + longToString(i); });
  return result;
}

namespace {

// The first row whose member `name` reads `wanted` as text; 0 on any failure.
int32_t rowWithMember(const ObjectRef& view, const char16_t* name, const String& wanted) {
  int32_t result = 0;
  returnOnly([&] {
    const ObjectRef rows = rowsOf(view);
    const int32_t count = countOf(rows);
    for (int32_t i = 1; i <= count; ++i)
      if (toString(get(itemOf(rows, i), name)) == wanted) {
        result = i;
        return;
      }
  });
  return result;
}

}  // namespace

int32_t LstViewLib::FindItemFromIcon(ObjectRef& theListView, const String& anIcon) {
  if (!theListView || isBlank(anIcon)) return 0;
  return rowWithMember(theListView, u"Icon", anIcon);
}

int32_t LstViewLib::FindItemFromSmallIcon(ObjectRef& theListView, const String& anIcon) {
  if (!theListView || isBlank(anIcon)) return 0;
  return rowWithMember(theListView, u"SmallIcon", anIcon);
}

int32_t LstViewLib::FindItemFromTag(ObjectRef& theListView, const String& aTag) {
  if (!theListView) return 0;
  return rowWithMember(theListView, u"Tag", aTag);
}

int32_t LstViewLib::FindHeaderFromCaption(ObjectRef& theList, const String& theCaption, bool& addIt,
                                          int16_t& theAlign, int16_t& theWidth, String& theIcon) {
  int32_t result = 0;
  if (!theList || isBlank(theCaption)) return result;
  int32_t i = 0;
  reportAndReturn(
      [&] {
        const ObjectRef headers = headersOf(theList);
        const int32_t count = countOf(headers);
        for (i = 1; i <= count; ++i)
          if (textOf(itemOf(headers, i)) == theCaption) {
            result = i;
            return;
          }
        if (!addIt) return;
        // The first column of a list-view stays left-aligned.
        const int16_t alignment = count < 2 ? int16_t{0} : theAlign;
        const ObjectRef header =
            addHeader(headers, String(), theCaption, Variant(theWidth), Variant(alignment));
        result = toLong(get(header, u"Index"));
        if (!theIcon.empty()) put(header, u"Icon", Variant(theIcon));
      },
      [&] { return u"Error on finding caption value in header list: " + longToString(i); });
  return result;
}

int32_t LstViewLib::CountStringFromColumn(ObjectRef& theListView, const String& theString,
                                          int16_t theColumn, bool acceptSimilar, bool withUCase) {
  int32_t result = 0;
  if (!theListView) return result;
  reportAndReturn(
      [&] {
        const ObjectRef rows = rowsOf(theListView);
        const int32_t count = countOf(rows);
        if (count < 1 || theColumn < 0 || theColumn - 1 > countOf(headersOf(theListView))) return;
        const String wanted = withUCase ? ucase(theString) : theString;
        for (int32_t i = 1; i <= count; ++i) {
          const ObjectRef row = itemOf(rows, i);
          // Column 0 names the row's own text; k a sub-item, skipped where not made.
          String cell;
          if (theColumn == 0) {
            cell = textOf(row);
          } else {
            if (createdSubItems(row) < theColumn) continue;
            cell = textOf(subItemOf(row, theColumn));
          }
          if (withUCase) cell = ucase(cell);
          if (acceptSimilar ? cell.find(wanted) != String::npos : cell == wanted) ++result;
        }
      },
      [&] {
        return u"Error on  count string from column " + longToString(theColumn) + u"\t" +
               longToString(result);
      });
  return result;
}

namespace {

// Rows whose Boolean member `name` is True.
int32_t rowsWithFlag(const ObjectRef& rows, const char16_t* name) {
  int32_t counted = 0;
  const int32_t count = countOf(rows);
  for (int32_t i = 1; i <= count; ++i)
    if (toBoolean(get(itemOf(rows, i), name))) ++counted;
  return counted;
}

}  // namespace

int32_t LstViewLib::CountCheckedItem(ObjectRef& theListView) {
  int32_t result = 0;
  if (!theListView) return result;
  reportAndReturn(
      [&] {
        if (!toBoolean(get(theListView, u"Checkboxes"))) return;
        result = rowsWithFlag(rowsOf(theListView), u"Checked");
      },
      u"Error on  count checked item ");
  return result;
}

int32_t LstViewLib::CountSelectedItem(ObjectRef& theListView) {
  int32_t result = 0;
  if (!theListView) return result;
  reportAndReturn([&] { result = rowsWithFlag(rowsOf(theListView), u"Selected"); },
                  u"Error on  count Selected item ");
  return result;
}

int32_t LstViewLib::CountHeaderCaption(ObjectRef& theListView, const String& theCaption) {
  int32_t result = 0;
  if (!theListView || isBlank(theCaption)) return result;
  int32_t i = 0;
  reportAndReturn(
      [&] {
        const ObjectRef headers = headersOf(theListView);
        const int32_t count = countOf(headers);
        for (i = 1; i <= count; ++i)
          if (textOf(itemOf(headers, i)) == theCaption) ++result;
      },
      [&] { return u"Error on count header caption: " + longToString(i); });
  return result;
}

}  // namespace zv::impl
