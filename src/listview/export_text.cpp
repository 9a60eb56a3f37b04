// The rows of one list-view, or of every list-view of a collection, written to a new file:
// as a simple XML document (texts without accents, not escaped) or as delimited text lines
// (texts untrimmed and unescaped).
#include "api/StrChr.h"
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

// One list-view's records between the list tag's start and end lines. False, writing
// nothing, without a file, a list-view or rows.
bool writeXmlRecords(const ObjectRef& view, int16_t fileNumber, bool itmSelected, bool tagHeader,
                     StringView listTag, StringView recordTag, int16_t notThisHeader) {
  bool result = false;
  if (fileNumber == -1 || !view) return result;
  reportAndReturn(
      [&] {
        const ObjectRef rows = rowsOf(view);
        const int32_t count = countOf(rows);
        if (count < 1) return;
        LineWriter out(fileByNumber(fileNumber));
        auto str = StrChr::create();
        const ObjectRef headers = headersOf(view);
        const int32_t columns = countOf(headers);
        std::vector<String> names;
        for (int32_t c = 1; c <= columns; ++c)
          names.push_back(str->RemoveAccent(textOf(itemOf(headers, c))));

        out.line(u"\t<" + String(listTag) + u">");
        if (tagHeader) {
          out.line(u"\t\t<HEADER_LIST>");
          for (int32_t c = 1; c <= columns; ++c) {
            if (c == notThisHeader) continue;
            out.line(u"\t\t<HEADER>");
            out.line(u"\t\t\t<NUM>", longToString(c), u"</NUM>");
            out.line(u"\t\t\t<VALUE>" + names[c - 1] + u"</VALUE>");
            out.line(u"\t\t</HEADER>");
          }
          out.line(u"\t\t</HEADER_LIST>\r\n");
        }
        const RowChoice choice(view, itmSelected);
        for (int32_t i = 1; i <= count; ++i) {
          const ObjectRef row = itemOf(rows, i);
          if (!choice.takes(row)) continue;
          out.line(u"\t\t<" + String(recordTag) + u">");
          out.line(u"\t\t<ID>" + longToString(i) + u"</ID>");
          for (int32_t c = 1; c <= columns; ++c) {
            if (c == notThisHeader) continue;
            out.line(tagHeader ? u"\t\t\t<" + names[c - 1] + u">" : u"\t\t\t<COLUMN>");
            out.line(u"\t\t\t<NUM>", longToString(c), u"</NUM>");
            out.line(u"\t\t\t<VALUE>", str->RemoveAccent(cellOf(row, c)), u"</VALUE>");
            out.line(tagHeader ? u"\t\t\t</" + names[c - 1] + u">" : u"\t\t\t</COLUMN>");
          }
          out.line(u"\t\t</" + String(recordTag) + u">");
        }
        out.line(u"\t</" + String(listTag) + u">");
        result = true;
      },
      u"Error on ListView object To XML");
  return result;
}

// The XML document around the records of `views`.
bool writeXmlDocument(const String& fileName, const std::vector<ObjectRef>& views, bool itmSelected,
                      bool tagHeader, int16_t notThisHeader) {
  FileNumber file(OpenFileForOutput(fileName));
  if (!file.isOpen()) return false;
  file.file().writeLine(u"<DATABASE>");
  for (const ObjectRef& view : views)
    writeXmlRecords(view, file.number(), itmSelected, tagHeader, u"RECORD_LIST", u"RECORD",
                    notThisHeader);
  file.file().writeLine(u"</DATABASE>");
  file.close();
  return true;
}

// The list-views of a collection, in order.
std::vector<ObjectRef> viewsOf(const ObjectRef& collection) {
  std::vector<ObjectRef> views;
  const int32_t count = collection ? countOf(collection) : 0;
  for (int32_t i = 1; i <= count; ++i)
    views.push_back(toObject(call(collection, u"Item", {Variant(i)})));
  return views;
}

// How the delimited lines are made.
struct LineLayout {
  const String& delimiter;
  const String& enclose;
  bool itmSelected;
  const String& firstColumn;
  const String& endColumn;
  int16_t notThisHeader;
};

// One line per chosen row of `view`. Rows and columns are counted in 16 bits.
void writeDelimitedRows(TextFile& file, const ObjectRef& view, const LineLayout& layout) {
  LineWriter out(file);
  const ObjectRef rows = rowsOf(view);
  const int32_t count = toInteger16(countOf(rows));
  const int32_t columns = toInteger16(countOf(headersOf(view)));
  const RowChoice choice(view, layout.itmSelected);
  const String& d = layout.delimiter;
  const String& e = layout.enclose;
  const bool withFirst = !isBlank(layout.firstColumn);
  const bool withEnd = !isBlank(layout.endColumn);
  // Most exports enclose nothing: no appends of an empty text then.
  auto enclosed = [&](String& line, const String& text) -> String& {
    if (e.empty()) return line.append(text);
    return line.append(e).append(text).append(e);
  };
  for (int32_t i = 1; i <= count; ++i) {
    const ObjectRef row = itemOf(rows, i);
    if (!choice.takes(row)) continue;
    out.lineFrom([&](String& line) {
      for (int32_t c = 1; c <= columns; ++c) {
        if (c == layout.notThisHeader) continue;
        if (c > 1) line += d;
        if (c == 1 && withFirst) enclosed(line, layout.firstColumn) += d;
        enclosed(line, cellOf(row, c));
      }
      if (withEnd) enclosed(line += d, layout.endColumn) += kCrLf;
    });
  }
}

}  // namespace

bool LstViewLib::ListViewToXMLfile(const String& XMLfileName, ObjectRef& theDestList,
                                   bool& itmSelected, bool& tagHeader, int16_t& notThisHeader) {
  if (!theDestList) {
    ShowInformation(u"Unable to initialize XML data recording", {});
    return false;
  }
  bool result = false;
  reportAndReturn(
      [&] {
        result =
            writeXmlDocument(XMLfileName, {theDestList}, itmSelected, tagHeader, notThisHeader);
      },
      u"Error on ListView Object to XML file");
  return result;
}

bool LstViewLib::SeveralListViewToXMLfile(ObjectRef& lstViewColl, const String& XMLfileName,
                                          bool& itmSelected, bool& tagHeader,
                                          int16_t& notThisHeader) {
  bool result = false;
  reportAndReturn(
      [&] {
        const std::vector<ObjectRef> views = viewsOf(lstViewColl);
        if (views.empty()) return;
        result = writeXmlDocument(XMLfileName, views, itmSelected, tagHeader, notThisHeader);
      },
      u"Error on Several ListView Object to XML file");
  return result;
}

bool LstViewLib::ListViewToASCII(const String& ASCIIfileName, ObjectRef& theDestList,
                                 String& Delimiter, String& EncloseStrings, bool& itmSelected,
                                 String& addThisFirstColumn, String& addThisEndColumn,
                                 int16_t& notThisHeader, String& addInFirst) {
  if (!theDestList) {
    ShowInformation(u"Unable to initialize ASCII data recording", {});
    return false;
  }
  bool result = false;
  reportAndReturn(
      [&] {
        FileNumber file(OpenFileForOutput(ASCIIfileName));
        if (!file.isOpen()) return;
        if (!addInFirst.empty()) file.file().writeLine(addInFirst);
        writeDelimitedRows(file.file(), theDestList,
                           {Delimiter, EncloseStrings, itmSelected, addThisFirstColumn,
                            addThisEndColumn, notThisHeader});
        file.close();
        result = true;
      },
      u"Error on ListView Object To ASCII file");
  return result;
}

bool LstViewLib::SeveralListViewToASCII(ObjectRef& lstViewColl, const String& ASCIIfileName,
                                        String& Delimiter, String& EncloseStrings,
                                        bool& itmSelected, String& addThisFirstColumn,
                                        String& addThisEndColumn, int16_t& notThisHeader) {
  bool result = false;
  reportAndReturn(
      [&] {
        const std::vector<ObjectRef> views = viewsOf(lstViewColl);
        if (views.empty()) return;
        FileNumber file(OpenFileForOutput(ASCIIfileName));
        if (!file.isOpen()) return;
        for (const ObjectRef& view : views)
          writeDelimitedRows(file.file(), view,
                             {Delimiter, EncloseStrings, itmSelected, addThisFirstColumn,
                              addThisEndColumn, notThisHeader});
        file.close();
        result = true;
      },
      u"Error on Several ListView Object To ASCII file");
  return result;
}

}  // namespace zv::impl
