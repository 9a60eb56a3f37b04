#include "demo_import_export.h"

#include <cstdio>

#include "api/LstViewLib.h"
#include "control_forms.h"
#include "demo_output.h"
#include "frame/classes.h"
#include "frame/file_numbers.h"
#include "frame/varnix.h"
#include "runtime/convert.h"

namespace zvv {

namespace {

using zv::ObjectRef;
using zv::String;

// A small sales table with accents and an empty cell.
constexpr const char16_t* kCsv[] = {
    u"City;Country;Sales", u"Z\u00fcrich;Switzerland;1200", u"S\u00e3o Paulo;Brazil;",
    u"Lyon;France;1500",   u"Montr\u00e9al;Canada;980",
};

String yesNo(bool value) {
  return zv::booleanToString(value);
}

}  // namespace

void importExportDemoPart(const String& folder) {
  std::puts("Import and export (LstViewLib)");
  const String csv = folder + u"/sales.csv";
  {
    zv::FileNumber file(zv::OpenFileForOutput(csv));
    for (const char16_t* line : kCsv)
      file.file().writeLine(line);
    file.close();
  }
  say(u"wrote", csv);
  auto lib = zv::LstViewLib::create();
  ObjectRef view = zv::createModel(u"ListView");
  say(u"LoadListViewFromASCII(sales.csv, \";\", header line)",
      yesNo(lib->LoadListViewFromASCII(csv, view, true, false, false, true, false, u";")));
  say(u"the list-view", listViewText(view));

  bool no = false;
  int16_t none = 0;
  String title = u"Sales", tableTitle = u"Sales by city", white = u"white", black = u"black",
         grey = u"#DDDDDD", light = u"#F4F4F4", font = u"Verdana", image;
  bool includeHeader = true;
  const String html = folder + u"/sales.htm";
  say(u"ListViewToHTMLfile(sales.htm)",
      yesNo(lib->ListViewToHTMLfile(html, view, title, tableTitle, no, white, black, grey, white,
                                    light, font, font, none, no, image, none, includeHeader)));
  const String xml = folder + u"/sales.xml";
  bool tagHeader = true;
  say(u"ListViewToXMLfile(sales.xml, tagHeader)",
      yesNo(lib->ListViewToXMLfile(xml, view, no, tagHeader, none)));
  const String out = folder + u"/sales-out.csv";
  String delimiter = u",", enclose = u"\"", empty, first = u"\"City\",\"Country\",\"Sales\"";
  say(u"ListViewToASCII(sales-out.csv, \",\", quotes)",
      yesNo(lib->ListViewToASCII(out, view, delimiter, enclose, no, empty, empty, none, first)));
  for (const String& file : {html, xml, out})
    say(u"wrote " + file, zv::longToString(static_cast<int32_t>(zv::fileLength(file))) + u" bytes");
}

}  // namespace zvv
