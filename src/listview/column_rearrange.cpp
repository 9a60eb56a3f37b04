// Whole columns: a character removed, bold or colour set, emptiness tested, empty columns
// removed, two columns exchanged (with their headers), a column moved to the last or
// next-to-last place, two rows compared column by column.
#include "frame/traps.h"
#include "frame/varnix.h"
#include "listview/LstViewLib.h"
#include "listview/list_view_access.h"

namespace zv::impl {

using namespace listview;

namespace {

// `body` on every row, under the report-and-return trap with `message` and the row
// reached; False without rows when `needsRows`. In these routines column 1 is the row
// itself and column k >= 2 is sub-item k (not k - 1).
template <class Body>
bool forEachRow(const ObjectRef& view, const char16_t* message, Body body, bool needsRows = false) {
  bool result = false;
  int32_t i = 0;
  reportAndReturn(
      [&] {
        const ObjectRef rows = rowsOf(view);
        const int32_t count = countOf(rows);
        if (needsRows && count < 1) return;
        for (i = 1; i <= count; ++i)
          body(itemOf(rows, i));
        result = true;
      },
      [&] { return message + longToString(i); });
  return result;
}

// One row's property `name` in column `column` (the row for 1, its sub-item otherwise),
// skipped where the sub-item was never made.
bool setColumnProperty(const ObjectRef& view, int16_t column, const char16_t* name,
                       const Variant& value, const char16_t* message) {
  return forEachRow(view, message, [&](const ObjectRef& row) {
    if (column == 1)
      put(row, name, value);
    else if (createdSubItems(row) >= column)
      put(subItemOf(row, column), name, value);
  });
}

// What a switch exchanges between two cells.
struct Cell {
  String text;
  Variant tag, foreColor, bold, tip;
  bool made = true;  // false for a sub-item never made: it holds the defaults
};

constexpr const char16_t* kCellProperties[] = {u"Tag", u"ForeColor", u"Bold", u"ToolTipText"};

Cell readCell(const ObjectRef& row, int32_t column) {
  const ObjectRef source = column == 1                          ? row
                           : createdSubItems(row) >= column - 1 ? subItemOf(row, column - 1)
                                                                : nullptr;
  if (!source)
    return Cell{String(), Variant(), Variant(int32_t{0}), Variant(false), Variant(u""), false};
  return Cell{textOf(source), get(source, u"Tag"), get(source, u"ForeColor"), get(source, u"Bold"),
              get(source, u"ToolTipText")};
}

void writeCell(const ObjectRef& row, int32_t column, const Cell& cell) {
  ObjectRef target = row;
  if (column == 1) {
    setText(row, cell.text);
  } else {
    put(row, u"SubItems", Variant(cell.text), {Variant(toInteger16(column - 1))});
    target = subItemOf(row, column - 1);
  }
  const Variant* values[] = {&cell.tag, &cell.foreColor, &cell.bold, &cell.tip};
  for (size_t p = 0; p < std::size(kCellProperties); ++p)
    put(target, kCellProperties[p], *values[p]);
}

}  // namespace

bool LstViewLib::DeleteCharColumn(ObjectRef& theListView, const String& theChar,
                                  int16_t theColumn) {
  if (!theListView || isBlank(theChar)) return false;
  const Variant index(theColumn);
  return forEachRow(
      theListView, u"Error on Delete Char of Column: ",
      [&](const ObjectRef& row) {
        if (theColumn == 1)
          setText(row, replaceAll(textOf(row), theChar, u""));
        else
          put(row, u"SubItems",
              Variant(replaceAll(toString(get(row, u"SubItems", {index})), theChar, u"")), {index});
      },
      true);
}

bool LstViewLib::ChangeColumnToBold(ObjectRef& theListView, int16_t theColumn, bool theBold) {
  if (!theListView) return false;
  return setColumnProperty(theListView, theColumn, u"Bold", Variant(theBold),
                           u"Error on Change Column To Bold: ");
}

bool LstViewLib::ChangeColumnToColor(ObjectRef& theListView, int16_t theColumn, int32_t theColor) {
  if (!theListView || theColor < 0) return false;
  return setColumnProperty(theListView, theColumn, u"ForeColor", Variant(theColor),
                           u"Error on Change Column To Color: ");
}

bool LstViewLib::isEmptyColumn(ObjectRef& theListView, int32_t theCol) {
  bool result = false;
  if (!theListView) return result;
  reportAndReturn(
      [&] {
        if (theCol < 1 || countOf(headersOf(theListView)) < 1) return;
        const ObjectRef rows = rowsOf(theListView);
        const int32_t count = countOf(rows);
        for (int32_t i = 1; i <= count; ++i)
          if (!isBlank(cellOf(itemOf(rows, i), theCol))) return;
        result = true;
      },
      u"Error on checking empty column");
  return result;
}

bool LstViewLib::DeleteAllEmptyColumns(ObjectRef& theListView) {
  bool result = false;
  if (!theListView) return true;
  reportAndReturn(
      [&] {
        const ObjectRef headers = headersOf(theListView);
        if (countOf(headers) < 1 || countOf(rowsOf(theListView)) < 1) {
          result = true;
          return;
        }
        // From the last column down to column 2 (the first is never removed); after each
        // removal the scan starts again from the new last column.
        for (int32_t column = countOf(headers); column >= 2;) {
          if (!isEmptyColumn(theListView, column)) {
            --column;
            continue;
          }
          if (isMoveColumnAndHeaderToLast(theListView, column)) {
            call(headers, u"Remove", {Variant(countOf(headers))});
            column = countOf(headers);
          } else {
            --column;
          }
        }
        result = true;
      },
      u"Error on delete all empty columns");
  return result;
}

bool LstViewLib::isSwitchColumns(ObjectRef& theListView, int32_t theColSource,
                                 int32_t theColDestination, bool) {
  bool result = false;
  if (!theListView) return result;
  reportAndReturn(
      [&] {
        const int32_t columns = countOf(headersOf(theListView));
        if (theColSource < 1 || theColDestination < 1 || theColSource > columns ||
            theColDestination > columns)
          return;
        const ObjectRef rows = rowsOf(theListView);
        const int32_t count = countOf(rows);
        if (theColSource == theColDestination || count < 1) {
          result = true;
          return;
        }
        for (int32_t i = 1; i <= count; ++i) {
          const ObjectRef row = itemOf(rows, i);
          const Cell source = readCell(row, theColSource);
          const Cell destination = readCell(row, theColDestination);
          // Two sub-items never made hold nothing to exchange.
          if (!source.made && !destination.made) continue;
          writeCell(row, theColSource, destination);
          writeCell(row, theColDestination, source);
        }
        result = true;
      },
      [&] {
        return u"Error on switching two columns: " + longToString(theColSource) + u" to " +
               longToString(theColDestination);
      });
  return result;
}

bool LstViewLib::isSwitchColumnsAndHeaders(ObjectRef& theListView, int32_t theColSource,
                                           int32_t theColDestination, bool withSetting) {
  bool result = false;
  if (!theListView) return result;
  reportAndReturn(
      [&] {
        // A failure on the headers gives False, though the columns were exchanged.
        const bool switched =
            isSwitchColumns(theListView, theColSource, theColDestination, withSetting);
        if (!switched || theColSource == theColDestination) {
          result = switched;
          return;
        }
        const ObjectRef headers = headersOf(theListView);
        const ObjectRef source = itemOf(headers, theColSource);
        const ObjectRef destination = itemOf(headers, theColDestination);
        const String text = textOf(source);
        setText(source, textOf(destination));
        setText(destination, text);
        result = true;
      },
      [&] {
        return u"Error on switching two headers: " + longToString(theColSource) + u" to " +
               longToString(theColDestination);
      });
  return result;
}

bool LstViewLib::isMoveColumnAndHeaderToBeforeLast(ObjectRef& theListView, int32_t theColSource) {
  bool result = false;
  if (!theListView) return result;
  int32_t i = theColSource;
  reportAndReturn(
      [&] {
        const int32_t columns = countOf(headersOf(theListView));
        if (theColSource < 1 || columns < 1 || theColSource > columns) return;
        if (theColSource == columns - 1) {
          result = true;
          return;
        }
        if (theColSource == columns || theColSource == columns - 2) {
          result = isSwitchColumnsAndHeaders(theListView, theColSource, columns - 1, false);
          return;
        }
        // Step by step, so the columns between keep their order.
        for (i = theColSource; i <= columns - 2; ++i)
          if (!isSwitchColumnsAndHeaders(theListView, i, i + 1, false)) return;
        result = true;
      },
      [&] {
        return u"Error on moving the Column and Header to the before last position: " +
               longToString(i);
      });
  return result;
}

bool LstViewLib::isMoveColumnAndHeaderToLast(ObjectRef& theListView, int32_t theColSource) {
  bool result = false;
  if (!theListView) return result;
  reportAndReturn(
      [&] {
        isMoveColumnAndHeaderToBeforeLast(theListView, theColSource);
        const int32_t columns = countOf(headersOf(theListView));
        result = isSwitchColumnsAndHeaders(theListView, columns - 1, columns, false);
      },
      [&] {
        return u"Error on moving the Column and Header to the last position: " +
               longToString(theColSource);
      });
  return result;
}

bool LstViewLib::isEqualColumns(ObjectRef& theListView, int32_t theLineSource,
                                int32_t theLineDestination, int16_t exceptColumn) {
  bool result = false;
  if (!theListView) return result;
  int32_t column = 0;
  reportAndReturn(
      [&] {
        const int32_t columns = countOf(headersOf(theListView));
        const ObjectRef rows = rowsOf(theListView);
        const int32_t count = countOf(rows);
        if (theLineSource < 1 || theLineDestination < 1 || columns < 1 || theLineSource > count ||
            theLineDestination > count)
          return;
        const ObjectRef first = itemOf(rows, theLineSource);
        const ObjectRef second = itemOf(rows, theLineDestination);
        // The row's Text for column 1, else the text of the sub-item made for it.
        auto cell = [](const ObjectRef& row, int32_t c) {
          return ucase(trim(c == 1 ? textOf(row) : textOf(subItemOf(row, c - 1))));
        };
        for (column = 1; column <= columns; ++column)
          if (column != exceptColumn && cell(first, column) != cell(second, column)) return;
        result = true;
      },
      [&] {
        return u"Error on comparing two lines: " + longToString(theLineSource) + u" to " +
               longToString(theLineDestination) + u"\r\n\t" + longToString(column);
      });
  return result;
}

}  // namespace zv::impl
