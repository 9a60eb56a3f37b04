#include "demo_tree_xml.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "api/FileLib.h"
#include "api/TrViewLib.h"
#include "demo_output.h"
#include "frame/classes.h"
#include "runtime/ansi.h"
#include "runtime/convert.h"
#include "visible_text.h"

namespace zvv {

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;

ObjectRef nodesOf(const ObjectRef& tree) {
  return zv::toObject(zv::get(tree, u"Nodes"));
}

ObjectRef add(const ObjectRef& tree, const char16_t* parent, const char16_t* key,
              const char16_t* text) {
  const Variant relative = parent ? Variant(parent) : Variant::missing();
  const Variant relation = parent ? Variant(int16_t{4}) : Variant::missing();
  return zv::toObject(
      zv::call(nodesOf(tree), u"Add", {relative, relation, Variant(key), Variant(text)}));
}

// The file's bytes as ISO-8859-1 text, one line at a time, each TAB shown as two blanks.
void printFile(const String& path) {
  std::ifstream in(zv::toUtf8(path), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  String line;
  for (const unsigned char byte : bytes) {
    if (byte == '\n') {
      std::printf("    |%s\n", visibleUtf8(line).c_str());
      line.clear();
    } else if (byte == '\t') {
      line += u"  ";
    } else if (byte != '\r') {
      line += static_cast<char16_t>(byte);
    }
  }
}

}  // namespace

void treeXmlDemoPart(const String& folder) {
  std::puts("Tree XML files (TrViewLib.TreeViewToXMLfile and TreeViewFromXMLfile)");
  auto lib = zv::TrViewLib::create();
  ObjectRef tree = zv::createModel(u"TreeView");
  add(tree, nullptr, u"R", u"Recettes d'\u00e9t\u00e9");
  const ObjectRef tart = add(tree, u"R", u"R\\tarte", u"Tarte <fraises & cr\u00e8me>");
  zv::put(tart, u"Bold", Variant(true));
  zv::put(tart, u"Tag", Variant(u"dessert"));
  zv::put(add(tree, u"R", u"R\\soupe", u"Soupe froide"), u"ForeColor", Variant(int32_t{255}));
  const String path = zv::FileLib::create()->CheckPath(folder) + u"recipes.xml";
  say(u"TreeViewToXMLfile(recipes.xml)",
      zv::booleanToString(lib->TreeViewToXMLfile(tree, path, u"zvv demo", u"", false)));
  printFile(path);

  ObjectRef loaded = zv::createModel(u"TreeView");
  say(u"TreeViewFromXMLfile into a new tree",
      zv::booleanToString(lib->TreeViewFromXMLfile(loaded, path, u"zvv demo", false, true)));
  const ObjectRef nodes = nodesOf(loaded);
  for (int32_t i = 1, count = zv::toLong(zv::get(nodes, u"Count")); i <= count; ++i) {
    const ObjectRef node = zv::toObject(zv::call(nodes, u"Item", {Variant(i)}));
    say(u"  " + zv::toString(zv::get(node, u"Key")),
        zv::toString(zv::get(node, u"Text")) + u"  bold " +
            zv::booleanToString(zv::toBoolean(zv::get(node, u"Bold"))) + u", colour " +
            zv::longToString(zv::toLong(zv::get(node, u"ForeColor"))) + u", tag [" +
            zv::toString(zv::get(node, u"Tag")) + u"]");
  }
}

}  // namespace zvv
