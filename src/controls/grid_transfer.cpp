#include <algorithm>
#include <vector>

#include "controls/FlexGridLib.h"
#include "frame/traps.h"
#include "platform/text_metrics.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "runtime/errors.h"

namespace zv::impl {

namespace {

constexpr StringView kCrLf = u"\r\n";
// Pixels added to the widest text of a column: the cell's margins.
constexpr int32_t kCellMarginPixels = 10;

// The list-view's column alignment (left 0, right 1, centre 2) as the grid's header code.
int16_t headerAlignment(int32_t listViewAlignment) {
  switch (listViewAlignment) {
    case 1:
      return 7;
    case 2:
      return 4;
    default:
      return 1;
  }
}

// The format-string mark of a grid column alignment: "<" left, "^" centre, ">" right
// (0-2, 3-5, 6-8), none for general (9).
StringView alignmentMark(int32_t alignment) {
  if (alignment >= 0 && alignment <= 2) return u"<";
  if (alignment >= 3 && alignment <= 5) return u"^";
  if (alignment >= 6 && alignment <= 8) return u">";
  return u"";
}

// The lines of a cell: 1 plus its CR LF pairs; the longest one's length in characters.
struct CellLines {
  explicit CellLines(StringView text) {
    for (size_t from = 0;;) {
      const size_t end = text.find(kCrLf, from);
      longest = std::max(longest, (end == StringView::npos ? text.size() : end) - from);
      if (end == StringView::npos) break;
      ++count;
      from = end + kCrLf.size();
    }
  }
  int64_t count = 1;
  size_t longest = 0;
};

int32_t countOf(const ObjectRef& collection) {
  return toLong(get(collection, u"Count"));
}

}  // namespace

int32_t FlexGridLib::rows() const {
  return toLong(get(grid_, u"Rows"));
}

int32_t FlexGridLib::cols() const {
  return toLong(get(grid_, u"Cols"));
}

String FlexGridLib::cellText(int32_t row, int32_t col) const {
  return toString(get(grid_, u"TextMatrix", {Variant(row), Variant(col)}));
}

void FlexGridLib::EmptyFlexGlid() {
  if (!grid_) return;
  put(grid_, u"Rows", Variant(int32_t{2}));
  call(grid_, u"Clear");
  grid_ = nullptr;
}

bool FlexGridLib::ListViewToFlexGrid(ObjectRef&, ObjectRef&) {
  bool result = false;
  reportAndReturn(
      [&] {
        if (!grid_ || !listView_) return;
        const int32_t rowCount = countOf(toObject(get(listView_, u"ListItems")));
        if (rowCount < 1) return;
        call(grid_, u"Clear");
        put(grid_, u"FixedCols", Variant(int32_t{0}));
        put(grid_, u"FixedRows", Variant(int32_t{0}));
        put(grid_, u"Rows", Variant(rowCount));
        if (!HeaderListViewToFlexGrid()) return;
        grid_ = nullptr;
        listView_ = nullptr;
        result = true;
      },
      u"Error on copy ListView object to FlexGrid object");
  return result;
}

bool FlexGridLib::HeaderListViewToFlexGrid() {
  bool result = false;
  reportAndReturn(
      [&] {
        if (!grid_ || !listView_) return;
        const ObjectRef headers = toObject(get(listView_, u"ColumnHeaders"));
        const int32_t headerCount = countOf(headers);
        if (headerCount < 1) return;
        put(grid_, u"FixedCols", Variant(int32_t{0}));
        put(grid_, u"FixedRows", Variant(int32_t{0}));
        put(grid_, u"Rows", Variant(int32_t{1}));
        put(grid_, u"Cols", Variant(headerCount));
        for (int32_t c = 1; c <= headerCount; ++c) {
          const ObjectRef header = toObject(call(headers, u"Item", {Variant(c)}));
          const Variant column(c - 1);
          put(grid_, u"ColHeaderCaption", get(header, u"Text"), {Variant(int32_t{0}), column});
          // The band header shown for this column, aligned as the list-view's column.
          put(grid_, u"ColHeader", Variant(int32_t{1}), {column});
          put(grid_, u"ColAlignmentHeader",
              Variant(headerAlignment(toLong(get(header, u"Alignment")))),
              {Variant(int32_t{0}), column});
        }
        grid_ = nullptr;
        listView_ = nullptr;
        result = true;
      },
      u"Error on copy ListView Header to FlexGrid object");
  return result;
}

void FlexGridLib::ResizeColumns(int32_t& hdc) {
  reportAndReturn(
      [&] {
        const int32_t rowCount = rows();
        const int32_t colCount = cols();
        const double twipsPerPixel = platform::screenTwipsPerPixelX();
        for (int32_t c = 0; c < colCount; ++c) {
          int32_t widest = 0;
          for (int32_t r = 0; r < rowCount; ++r)
            widest = std::max(widest, platform::textWidth(hdc, toAnsi(cellText(r, c))));
          if (widest <= 0) continue;
          const int32_t width =
              toLong(Variant(roundHalfEven((widest + kCellMarginPixels) * twipsPerPixel)));
          const Variant column(c);
          // Columns only grow.
          if (width > toLong(get(grid_, u"ColWidth", {column})))
            put(grid_, u"ColWidth", Variant(width), {column});
        }
      },
      u"Error on resizing grid columns");
  grid_ = nullptr;
}

void FlexGridLib::AutoSize(bool PourColonne, bool PourLigne) {
  if (!grid_) return;
  reportAndReturn(
      [&] {
        const Variant redraw = get(grid_, u"Redraw");
        put(grid_, u"Redraw", Variant(false));
        const int32_t rowCount = rows();
        const int32_t colCount = cols();
        if (PourColonne) {
          const bool fixedRows = toLong(get(grid_, u"FixedRows")) != 0;
          std::vector<String> headings;
          String format;
          for (int32_t c = 0; c < colCount; ++c) {
            size_t longest = 0;
            for (int32_t r = 0; r < rowCount; ++r)
              longest = std::max(longest, CellLines(cellText(r, c)).longest);
            if (c > 0) format += u'|';
            if (fixedRows) {
              format += alignmentMark(toLong(get(grid_, u"ColAlignment", {Variant(c)})));
              headings.push_back(cellText(0, c));
            }
            format += repeat(u'A', static_cast<int64_t>(longest));
          }
          put(grid_, u"FormatString", Variant(format));
          for (int32_t c = 0; c < static_cast<int32_t>(headings.size()); ++c)
            put(grid_, u"TextMatrix", Variant(headings[c]), {Variant(int32_t{0}), Variant(c)});
        }
        if (PourLigne) {
          for (int32_t r = 0; r < rowCount; ++r) {
            for (int32_t c = 0; c < colCount; ++c) {
              const int64_t lines = CellLines(cellText(r, c)).count;
              const Variant row(r);
              const int64_t height = toLong(get(grid_, u"RowHeight", {row}));
              // Per cell: a row with two two-line cells ends four times as high.
              if (lines > 1 && height * lines > height) {
                if (height * lines > INT32_MAX) raise(err::kOverflow);
                put(grid_, u"RowHeight", Variant(static_cast<int32_t>(height * lines)), {row});
              }
            }
          }
        }
        put(grid_, u"Redraw", redraw);
      },
      u"Error on auto sizing grid columns");
  grid_ = nullptr;
}

}  // namespace zv::impl
