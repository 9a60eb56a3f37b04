// The rows of one or several list-views as HTML tables: appended to an existing file, or
// written as a whole page between the page head HTMlib writes and the closing tags.
#include <functional>
#include <optional>

#include "api/HTMlib.h"
#include "frame/file_numbers.h"
#include "frame/traps.h"
#include "frame/varnix.h"
#include "listview/LstViewLib.h"
#include "listview/line_writer.h"
#include "listview/list_view_access.h"
#include "runtime/convert.h"

namespace zv::impl {

using namespace listview;

namespace {

constexpr StringView kTab = u"\t";

// How one table looks, as the append members take it.
struct TableStyle {
  const String& title;
  const String& headerColor;
  const String& firstColor;
  const String& secondColor;
  const String& titleFont;
  const String& contentFont;
  int16_t borderSize;
  int16_t skippedColumn;
  bool includeHeader;
  bool addCRbefore;
  bool detectHTMLchar;
  bool detectHREF;
  bool detectMAIL;
};

// Where a table's writing stands, for the report of a failure.
struct Position {
  int32_t row = 0;
  int32_t column = 0;
};

using RowTest = std::function<bool(const ObjectRef&)>;

class TableWriter {
 public:
  TableWriter(TextFile& out, const TableStyle& style, Position& at)
      : out_(out), style_(style), row_(at.row), column_(at.column), html_(HTMlib::create()) {}

  void write(const ObjectRef& view, const RowTest& takes) {
    if (style_.addCRbefore) out_.line(u"<BR>");
    out_.line(u"\t<CENTER>");
    out_.line(u"<TABLE WIDTH=\"99%\" cellspacing=5 cellpadding=0 BORDER=" +
              longToString(style_.borderSize) + u">");
    if (!isBlank(style_.title)) {
      out_.line(u"\t<CAPTION>");
      out_.line(u"\t<FONT face=\"" + style_.titleFont + u"\" SIZE=+1><B>" +
                converted(style_.title) + u"</B></FONT>\r\n");
      out_.line(String(kTab) + (style_.borderSize <= 0 ? u"<HR SIZE=1>" : u"") + u"</CAPTION>");
    }
    const ObjectRef headers = headersOf(view);
    const int32_t columns = countOf(headers);
    std::vector<String> alignments;
    for (column_ = 1; column_ <= columns; ++column_)
      alignments.push_back(alignmentOf(itemOf(headers, column_)));
    if (style_.includeHeader) writeHeaderRow(headers, columns);
    const ObjectRef rows = rowsOf(view);
    const int32_t count = countOf(rows);
    int32_t written = 0;
    for (row_ = 1; row_ <= count; ++row_) {
      const ObjectRef item = itemOf(rows, row_);
      if (!takes(item)) continue;
      const String& colour = written++ % 2 == 0 ? style_.firstColor : style_.secondColor;
      out_.line(u"\t<TR bgcolor=\"", colour, u"\">");
      for (column_ = 1; column_ <= columns; ++column_)
        if (column_ != style_.skippedColumn) writeCell(item, alignments[column_ - 1]);
      out_.line(u"\t</TR>");
    }
    out_.line(u"</TABLE>\r\n");
    out_.line(u"\t</CENTER>");
  }

 private:
  String converted(const String& text) {
    return html_->ReplaceTXTcharToHTMLchar(text, style_.detectHTMLchar, style_.detectHREF,
                                           style_.detectMAIL);
  }

  static String alignmentOf(const ObjectRef& header) {
    switch (toLong(get(header, u"Alignment"))) {
      case 1:
        return u"right";
      case 2:
        return u"center";
      default:
        return u"left";
    }
  }

  void writeHeaderRow(const ObjectRef& headers, int32_t columns) {
    out_.line(u"\t<TR bgcolor=\"" + style_.headerColor + u"\">");
    for (column_ = 1; column_ <= columns; ++column_) {
      if (column_ == style_.skippedColumn) continue;
      const String text = textOf(itemOf(headers, column_));
      out_.line(u"\t<TD align=\"center\" valign=\"top\"><FONT face=\"" + style_.titleFont +
                u"\"><B>");
      out_.line(String(kTab) + (isBlank(text) ? String(u"&nbsp;") : converted(text)));
      out_.line(u"\t</B></FONT></TD>");
    }
    column_ = 0;
    out_.line(u"\t</TR>");
  }

  void writeCell(const ObjectRef& item, const String& alignment) {
    out_.line(u"\t\t<TD align=\"", alignment, u"\" valign=\"top\">");
    const String text = cellOf(item, column_);
    if (isBlank(text)) {
      out_.line(u"\t\t&nbsp;");
    } else {
      // Only a cell with text has a sub-item whose colour and weight count.
      const auto [colour, bold] = styleOf(cellObjectOf(item, column_));
      String font = u"\t\t<FONT face=\"" + style_.contentFont + u"\"";
      if (colour != 0) font += u" color=\"" + html_->ConvertColor(colour) + u"\"";
      out_.line(font + u">");
      if (bold) out_.line(u"\t\t<B>");
      out_.line(u"\t\t", converted(text));
      if (bold) out_.line(u"\t\t</B>");
      out_.line(u"\t\t</FONT>");
    }
    out_.line(u"\t\t</TD>");
  }

  LineWriter out_;
  const TableStyle& style_;
  int32_t& row_;
  int32_t& column_;
  std::shared_ptr<zv::HTMlib> html_;
};

// Appends the table of the rows `takes` accepts. False when the file cannot be opened
// (with a box when `showOpenFailure`) or on a failure, reported under `failure`, the row
// and the column reached.
bool appendTable(const String& theFile, const ObjectRef& view, const TableStyle& style,
                 const RowTest& takes, StringView failure, bool showOpenFailure) {
  bool result = false;
  FileNumber file;
  Position at;
  reportAndReturn(
      [&] {
        file = OpenFileForAppend(theFile);
        if (!file.isOpen()) {
          if (showOpenFailure) ShowInformation(u"Unable to append HTML file: \r\n" + theFile, {});
          return;
        }
        TableWriter(file.file(), style, at).write(view, takes);
        file.close();
        result = true;
      },
      [&] { return String(failure) + longToString(at.row) + u"/" + longToString(at.column); });
  return result;
}

// The page's closing tags, appended once the tables are written.
void appendPageEnd(const String& fileName) {
  FileNumber file(OpenFileForAppend(fileName));
  file.file().writeLine(u"</BODY>");
  file.file().writeLine(u"</HTML>");
  file.close();
}

}  // namespace

bool LstViewLib::AppendListViewToHTML(const String& theFile, ObjectRef& destList,
                                      const String& theTabTitle, bool selectedItem,
                                      const String& headerColor, const String& firstColor,
                                      const String& secondColor, const String& theTitleFont,
                                      const String& theContentFont, int16_t borderSize,
                                      int16_t notExportThisHeader, bool includeHeader,
                                      bool addCRbefore, bool detectHTMLchar, bool detectHREF,
                                      bool detectMAIL) {
  if (!destList) return false;
  bool empty = false;
  std::optional<RowChoice> choice;
  reportAndReturn(
      [&] {
        empty = countOf(rowsOf(destList)) < 1;
        if (!empty) choice.emplace(destList, selectedItem);
      },
      u"Error on list export to HTML 0/0");
  if (!choice) {
    if (empty) ShowInformation(u"Unable to initialize HTML appending. List is empty.", {});
    return false;
  }
  const TableStyle style{theTabTitle,   headerColor,    firstColor,     secondColor,
                         theTitleFont,  theContentFont, borderSize,     notExportThisHeader,
                         includeHeader, addCRbefore,    detectHTMLchar, detectHREF,
                         detectMAIL};
  return appendTable(
      theFile, destList, style, [&](const ObjectRef& row) { return choice->takes(row); },
      u"Error on list export to HTML ", true);
}

bool LstViewLib::AppendListViewCheckToHTML(const String& theFile, ObjectRef& srcList,
                                           const String& theTabTitle, const String& headerColor,
                                           const String& firstColor, const String& secondColor,
                                           const String& theTitleFont, const String& theContentFont,
                                           int16_t borderSize, int16_t notExportThisHeader,
                                           bool includeHeader, bool addCRbefore,
                                           bool detectHTMLchar, bool detectHREF, bool detectMAIL) {
  if (!srcList) return false;
  bool anyChecked = false;
  reportAndReturn(
      [&] {
        if (!toBoolean(get(srcList, u"Checkboxes"))) return;
        anyChecked = CountCheckedItem(srcList) > 0;
      },
      u"Error on checked list export to HTML ");
  if (!anyChecked) return false;
  const TableStyle style{theTabTitle,   headerColor,    firstColor,     secondColor,
                         theTitleFont,  theContentFont, borderSize,     notExportThisHeader,
                         includeHeader, addCRbefore,    detectHTMLchar, detectHREF,
                         detectMAIL};
  return appendTable(
      theFile, srcList, style, [](const ObjectRef& row) { return toBoolean(get(row, u"Checked")); },
      u"Error on checked list export to HTML ", false);
}

bool LstViewLib::ListViewToHTMLfile(const String& HTMLfileName, ObjectRef& theDestList,
                                    String& thePageTitle, String& theTabTitle, bool& selectedItem,
                                    String& backgroundPageColor, String& defaultTextColor,
                                    String& headerColor, String& firstColor, String& secondColor,
                                    String& theTitleFont, String& theContentFont,
                                    int16_t& borderSize, bool& printOnLoad, String& backgroundImage,
                                    int16_t& notThisHeader, bool& includeHeader) {
  if (!theDestList) {
    ShowInformation(u"Unable to initialize HTML data recording", {});
    return false;
  }
  bool result = false;
  reportAndReturn(
      [&] {
        if (countOf(rowsOf(theDestList)) < 1) {
          ShowInformation(u"Unable to collect data. List is empty.", {});
          return;
        }
        const bool headWritten =
            HTMlib::create()->WriteHeaderHTML(HTMLfileName, thePageTitle, backgroundPageColor,
                                              defaultTextColor, printOnLoad, backgroundImage);
        if (headWritten)
          AppendListViewToHTML(HTMLfileName, theDestList, theTabTitle, selectedItem, headerColor,
                               firstColor, secondColor, theTitleFont, theContentFont, borderSize,
                               notThisHeader, includeHeader, true, false, false, false);
        appendPageEnd(HTMLfileName);
        result = headWritten;
      },
      u"Error on ListView to HTML file");
  return result;
}

bool LstViewLib::SeveralListViewToHTMLfile(
    ObjectRef& lstViewColl, const String& HTMLfileName, String& thePageTitle, String& theTabTitle1,
    String& theTabTitle2, bool& selectedItem, String& backgroundPageColor, String& defaultTextColor,
    String& headerColor, String& firstColor, String& secondColor, String& theTitleFont,
    String& theContentFont, int16_t& borderSize, bool& printOnLoad, String& backgroundImage,
    int16_t& notThisHeader) {
  bool result = false;
  reportAndReturn(
      [&] {
        const int32_t count = lstViewColl ? countOf(lstViewColl) : 0;
        if (count < 1) return;
        if (!HTMlib::create()->WriteHeaderHTML(HTMLfileName, thePageTitle, backgroundPageColor,
                                               defaultTextColor, printOnLoad, backgroundImage))
          return;
        for (int32_t i = 1; i <= count; ++i) {
          ObjectRef view = toObject(call(lstViewColl, u"Item", {Variant(i)}));
          AppendListViewToHTML(HTMLfileName, view, i % 2 == 1 ? theTabTitle1 : theTabTitle2,
                               selectedItem, headerColor, firstColor, secondColor, theTitleFont,
                               theContentFont, borderSize, notThisHeader, true, true, false, false,
                               false);
        }
        appendPageEnd(HTMLfileName);
        result = true;
      },
      u"Error on Several ListView Object to HTML file");
  return result;
}

}  // namespace zv::impl
