// zvv: the command-line host of ZivoviViruvov.
//   zvv list [CLASS]                 classes, members and signatures
//   zvv call PROGID MEMBER [ARG...]  one late-bound call; ARG may be name:=value
//   zvv demo [DIR]                   a short tour that writes real files into DIR
//   zvv zip ARCHIVE FILE...          adds files and folders to an archive
//   zvv unzip [-l] ARCHIVE [DIR]     extracts an archive into DIR, or lists it
//   zvv reg import FILE.reg          REGEDIT5 text into the registry
//   zvv reg export KEY FILE.reg      a key and its subkeys as REGEDIT5 text
//   zvv convert [OPTION...] IN OUT   delimited text to an HTML page, XML or delimited text
//   zvv tree-xml FILE.xml            loads a tree XML file and tells what it holds
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "archive_commands.h"
#include "convert_command.h"
#include "demo.h"
#include "frame/classes.h"
#include "reg_file.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "tree_xml_command.h"
#include "values.h"
#include "visible_text.h"

namespace {

using zv::String;

int usage() {
  std::fputs(
      "usage: zvv list [CLASS]\n"
      "       zvv call PROGID MEMBER [ARG...]   (ARG: value or name:=value;\n"
      "            objects: @TextBox=text, @ListBox=a|b, @ComboBox=a|b, @Collection=a|b,\n"
      "            @ListView=H1;H2|a;b|[x]{key}c;d, @TreeView={k}root|>child|>>grandchild)\n"
      "       zvv demo [DIR]\n"
      "       zvv zip ARCHIVE FILE...\n"
      "       zvv unzip ARCHIVE [DIR]\n"
      "       zvv unzip -l ARCHIVE\n"
      "       zvv reg import FILE.reg | zvv reg export KEY FILE.reg\n"
      "       zvv convert [--to html|xml|csv|txt] [--separator SEP] [--no-header] [--quotes]\n"
      "                   INPUT OUTPUT\n"
      "       zvv tree-xml FILE.xml\n",
      stderr);
  return 2;
}

void printLine(const String& text) {
  std::puts(zvv::visibleUtf8(text).c_str());
}

void listType(const zv::TypeInfo& type) {
  for (const zv::MemberInfo& m : type.members)
    printLine(u"  " + zv::describeMember(m));
}

int list(const char* className) {
  bool found = false;
  for (const zv::ClassInfo& c : zv::libraryClasses()) {
    if (className && !zv::equalsNoCase(c.name, zv::fromUtf8(className)) &&
        !zv::equalsNoCase(c.progId, zv::fromUtf8(className)))
      continue;
    found = true;
    String heading = String(u"Class ") + c.name;
    heading += c.creatable ? String(u"  ") + c.progId + u"  " + c.clsid : u"  (private)";
    printLine(heading);
    listType(*c.type);
    if (c.events) {
      printLine(String(u"  Events ") + c.events->name + u"  " + c.eventsIid);
      for (const zv::MemberInfo& m : c.events->members)
        printLine(u"    " + zv::describeMember(m));
    }
  }
  if (className) {
    if (!found) std::fprintf(stderr, "zvv: no class named %s\n", className);
    return found ? 0 : 1;
  }
  for (const zv::EnumInfo& e : zv::libraryEnums()) {
    printLine(String(u"Enum ") + e.name);
    for (const zv::EnumMember& m : e.members)
      printLine(String(u"  ") + m.name + u" = " + zv::longToString(m.value));
  }
  return 0;
}

int call(int argc, char** argv) {
  const String progId = zv::fromUtf8(argv[0]);
  const String memberName = zv::fromUtf8(argv[1]);
  try {
    zv::ObjectRef object = zv::createObject(progId);
    const zv::MemberInfo& member =
        zv::findMember(*object->typeInfo(), memberName, zv::kMethod | zv::kPropertyGet);
    zvv::CallArguments arguments(member, std::vector<std::string>(argv + 2, argv + argc));
    zv::Variant result =
        object->invoke(memberName, zv::kMethod | zv::kPropertyGet, arguments.args());
    if (*member.resultTypeName) printLine(zvv::display(result));
    for (const auto& [name, value] : arguments.byReference()) {
      if (value.type() != zv::VarType::Record) {
        printLine(name + u" = " + zvv::display(value));
        continue;
      }
      // A record: its fields, one a line.
      for (const auto& [field, fieldValue] : value.recordValue().fields)
        printLine(field + u" = " + zvv::display(fieldValue));
    }
    return 0;
  } catch (const zv::Error& e) {
    std::fprintf(stderr, "Error %d: %s\n", e.number(), zv::toUtf8(e.description()).c_str());
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  if (command == "list" && argc <= 3) return list(argc == 3 ? argv[2] : nullptr);
  if (command == "call" && argc >= 4) return call(argc - 2, argv + 2);
  if (command == "reg") return zvv::regCommand(argc - 2, argv + 2);
  if (command == "demo" && argc <= 3) return zvv::runDemo(argc == 3 ? argv[2] : "zvv-demo");
  if (command == "zip" && argc >= 4) return zvv::zipCommand(argc - 2, argv + 2);
  if (command == "unzip" && argc >= 3 && argc <= 4) return zvv::unzipCommand(argc - 2, argv + 2);
  if (command == "tree-xml" && argc == 3) return zvv::treeXmlCommand(argv[2]);
  if (command == "convert") return zvv::convertCommand(argc - 2, argv + 2);
  return usage();
}
