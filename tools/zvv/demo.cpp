#include "demo.h"

#include <cstdio>
#include <filesystem>

#include "api/FileLib.h"
#include "api/HTMlib.h"
#include "api/StrChr.h"
#include "demo_archive.h"
#include "demo_files.h"
#include "demo_import_export.h"
#include "demo_listview.h"
#include "demo_locale.h"
#include "demo_output.h"
#include "demo_tree_xml.h"
#include "demo_treeview.h"
#include "frame/classes.h"
#include "frame/file_numbers.h"
#include "frame/varnix.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/trap.h"

namespace zvv {

namespace {

using zv::String;
using zv::Variant;

String yesNo(bool value) {
  return zv::booleanToString(value);
}

void framePart(const String& folder) {
  std::puts("Files and paths (FileLib)");
  auto files = zv::FileLib::create();
  const String dir = files->CheckPath(folder);
  say(u"CheckPath(folder)", dir);
  say(u"UnCheckPath of that", files->UnCheckPath(dir));
  say(u"isDirectoryExist(folder)", yesNo(files->isDirectoryExist(folder)));

  const String notes = dir + u"notes.txt";
  {
    zv::FileNumber file(zv::OpenFileForOutput(notes));
    file.file().writeLine(u"ZivoviViruvov wrote this file in the ANSI code page.");
    file.file().writeLine(u"Caf\u00e9, cr\u00e8me br\u00fbl\u00e9e, 20 \u20ac.");
  }
  say(u"wrote", notes);
  say(u"isFileExist(notes.txt)", yesNo(files->isFileExist(notes)));
  say(u"isFileExist(*.t?t)", yesNo(files->isFileExist(dir + u"*.t?t")));
  say(u"isFileExist(folder)", yesNo(files->isFileExist(folder)));
  say(u"isFileExist(\"   \")", yesNo(files->isFileExist(u"   ")));
  {
    zv::FileNumber file(zv::OpenFileForInput(notes, true, false));
    say(u"first line read back", file.file().readLine());
    say(u"file number used", zv::longToString(file.number()));
  }
}

void lookupPart() {
  std::puts("List box and combo box lookups");
  zv::ObjectRef list = zv::createModel(u"ListBox");
  for (const char16_t* item : {u"alpha", u"beta", u"gamma"})
    zv::call(list, u"AddItem", {Variant(item)});
  say(u"iExistInListBox(\" beta \")",
      zv::longToString(zv::iExistInListBox(list, u" beta ", false)));
  say(u"iExistInListBox(delta, addIt)",
      zv::longToString(zv::iExistInListBox(list, u"delta", true)));
  zv::ObjectRef combo = zv::createModel(u"ComboBox");
  zv::call(combo, u"AddItem", {Variant(u"xabcx")});
  say(u"iExistInComboBox(\"abc\")", zv::longToString(zv::iExistInComboBox(combo, u"abc", false)));
  say(u"iExistInComboBox(\"ABC\")", zv::longToString(zv::iExistInComboBox(combo, u"ABC", false)));
}

void errorPart() {
  std::puts("Errors as the library reports them");
  zv::onError([] { zv::raise(zv::err::kFileNotFound); }, [] {});
  String text = zv::ReportErrorText(u"Error on file reading:\r\nC:\\missing.txt");
  zv::clearPendingError();
  for (size_t at; (at = text.find(u"\r\n")) != String::npos;)
    text.replace(at, 2, u" | ");
  say(u"ReportError text", text);
  try {
    zv::call(zv::createObject(u"ZivoviViruvov.StrChr"), u"NoSuchMember");
  } catch (const zv::Error& e) {
    say(u"late-bound call of a missing member", u"Error " + zv::longToString(e.number()));
  }
  try {
    zv::toInteger16(32768);
  } catch (const zv::Error& e) {
    say(u"a position of 32768", u"Error " + zv::longToString(e.number()) + u": " + e.description());
  }
}

// "\r\n" shown as the two escapes, so a result stays on one line.
String visible(const String& text) {
  return zv::replaceAll(zv::replaceAll(text, u"\r", u"\\r"), u"\n", u"\\n");
}

void strchrPart() {
  std::puts("Strings (StrChr)");
  auto str = zv::StrChr::create();
  say(u"GetLeft(\"key=value\", \"=\")", str->GetLeft(u"key=value", u"="));
  say(u"GetRight(\"key=value\", \"=\")", str->GetRight(u"key=value", u"="));
  say(u"GetLastRight(\"a/b/c.txt\", \"/\")", str->GetLastRight(u"a/b/c.txt", u"/"));
  say(u"CountItem(\"red;green;blue\", \";\")",
      zv::longToString(str->CountItem(u"red;green;blue", u";")));
  say(u"RemoveAccent(\"Cr\u00e8me br\u00fbl\u00e9e\")",
      str->RemoveAccent(u"Cr\u00e8me br\u00fbl\u00e9e"));
  say(u"ReplaceToCRLF(\"one|two\", \"|\")", visible(str->ReplaceToCRLF(u"one|two", u"|")));
}

// A letter as a word processor saves it: a font table, a colour table, then paragraphs.
constexpr const char16_t* kSampleRtf[] = {
    u"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}",
    u"{\\colortbl ;\\red0\\green0\\blue255;}",
    u"\\pard\\plain \\qc\\b\\f0\\fs28 Menu du jour\\b0 \\par }",
    u"\\pard\\plain \\f0\\fs20 Entr\\'e9e : \\i soupe \\'e0 l'oignon\\i0 \\par }",
    u"\\pard\\plain \\f0\\fs20 {\\'b7} Plat : \\b cr\\'eape\\b0  au sucre\\par }",
    u"\\pard\\plain \\f0\\fs20 Prix : 12 \\'a3 \\{service compris\\}\\par }",
    u"}",
};

void htmlPart(const String& folder) {
  std::puts("RTF file to HTML page (HTMlib)");
  const String rtfFile = folder + u"/menu.rtf";
  const String htmlFile = folder + u"/menu.htm";
  {
    zv::FileNumber file(zv::OpenFileForOutput(rtfFile));
    for (const char16_t* line : kSampleRtf)
      file.file().writeLine(line);
  }
  say(u"wrote", rtfFile);
  auto html = zv::HTMlib::create();
  say(u"RTFfileToHTMLfile(rtf, htm)", yesNo(html->RTFfileToHTMLfile(rtfFile, htmlFile)));
  zv::FileNumber page(zv::OpenFileForInput(htmlFile, true, false));
  for (int n = 1; !page.file().atEnd(); ++n)
    say(u"menu.htm line " + zv::longToString(n), visible(page.file().readLine()));
  say(u"ConvertColor(255)", html->ConvertColor(255));
}

}  // namespace

int runDemo(const char* directory) {
  std::error_code ec;
  std::filesystem::create_directories(directory, ec);
  const String folder = zv::fromUtf8(std::filesystem::absolute(directory, ec).string());
  std::printf("ZivoviViruvov %d.%d demo, writing into %s\n", zv::kLibraryMajor, zv::kLibraryMinor,
              zv::toUtf8(folder).c_str());
  try {
    framePart(folder);
    lookupPart();
    localeDemoPart();
    errorPart();
    strchrPart();
    htmlPart(folder);
    archiveDemoPart(folder);
    filesDemoPart(folder);
    listViewDemoPart();
    importExportDemoPart(folder);
    treeviewDemoPart();
    treeXmlDemoPart(folder);
  } catch (const zv::Error& e) {
    std::fprintf(stderr, "demo failed: %s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace zvv
