#include "demo.h"

#include <cstdio>
#include <filesystem>

#include "api/FileLib.h"
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

void say(const String& label, const String& value) {
  std::printf("  %-34s %s\n", zv::toUtf8(label).c_str(), zv::toUtf8(value).c_str());
}

String yesNo(bool value) { return zv::booleanToString(value); }

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
  for (const char16_t* item : {u"alpha", u"beta", u"gamma"}) zv::call(list, u"AddItem", {Variant(item)});
  say(u"iExistInListBox(\" beta \")", zv::longToString(zv::iExistInListBox(list, u" beta ", false)));
  say(u"iExistInListBox(delta, addIt)", zv::longToString(zv::iExistInListBox(list, u"delta", true)));
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
  for (size_t at; (at = text.find(u"\r\n")) != String::npos;) text.replace(at, 2, u" | ");
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
    errorPart();
  } catch (const zv::Error& e) {
    std::fprintf(stderr, "demo failed: %s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace zvv
