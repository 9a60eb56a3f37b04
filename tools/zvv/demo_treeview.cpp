#include "demo_treeview.h"

#include <cstdio>

#include "api/TrViewLib.h"
#include "demo_output.h"
#include "frame/classes.h"
#include "runtime/convert.h"

namespace zvv {

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;

String number(int32_t value) {
  return zv::longToString(value);
}

ObjectRef node(const ObjectRef& tree, const String& key) {
  return zv::toObject(zv::call(zv::toObject(zv::get(tree, u"Nodes")), u"Item", {Variant(key)}));
}

// A tree-view model with an image list holding the images the nodes name.
ObjectRef folderTree() {
  ObjectRef tree = zv::createModel(u"TreeView");
  ObjectRef images = zv::createModel(u"ImageList");
  for (const char16_t* key : {u"drive", u"folder", u"doc", u"sheet"})
    zv::call(zv::toObject(zv::get(images, u"ListImages")), u"Add",
             {Variant::missing(), Variant(key)});
  zv::putRef(tree, u"ImageList", images);
  zv::call(zv::toObject(zv::get(tree, u"Nodes")), u"Add",
           {Variant::missing(), Variant::missing(), Variant(u"C:"), Variant(u"Local disk (C:)"),
            Variant(u"drive")});
  return tree;
}

}  // namespace

void treeviewDemoPart() {
  std::puts("Tree-view (TrViewLib on a tree-view model)");
  auto lib = zv::TrViewLib::create();
  ObjectRef tree = folderTree();
  const String docs = lib->CreateChildNode(tree, u"C:", u"My documents", u"folder", u"docs");
  say(u"CreateChildNode \"My documents\"", docs);
  const String work = lib->CreateChildNode(tree, docs, u"Travail en cours", u"folder", u"work");
  say(u"CreateChildNode \"Travail en cours\"", work);
  say(u"CreateChildNode \"Photos d'\u00e9t\u00e9\"",
      lib->CreateChildNode(tree, docs, u"Photos d'\u00e9t\u00e9", u"folder", u"photos"));
  for (const char16_t* file : {u"Report 2024.doc", u"Report 2024.doc", u"Budget.xls"}) {
    const String image = String(file).ends_with(u".xls") ? u"sheet" : u"doc";
    say(u"CreateChildNode \"" + String(file) + u"\"",
        lib->CreateChildNode(tree, work, file, image,
                             u"size=" + number(int32_t(String(file).size()))));
  }
  say(u"the same label, forcing off", u"\"" +
                                          lib->CreateChildNode(tree, work, u"Budget.xls", u"sheet",
                                                               u"", true, false, false, false) +
                                          u"\" (the key is taken)");
  ObjectRef workNode = node(tree, work);
  say(u"new label for \"Report 2024.doc\"",
      lib->CheckExistingLabelAndGetNew(tree, workNode, u"Report 2024.doc"));

  say(u"FindNodeFromText(\"Budget.xls\")", number(lib->FindNodeFromText(tree, u"Budget.xls")));
  ObjectRef found = zv::createModel(u"Collection");
  lib->SearchNodeFromTextAndPushInColl(tree, found, u"C:", u"REPORT", true, true, true);
  String indexes;
  for (const Variant& index : found->enumerate())
    indexes += (indexes.empty() ? u"" : u", ") + zv::toString(index);
  say(u"pushed, texts holding REPORT", indexes);
  ObjectRef drive = node(tree, u"C:");
  say(u"CountChildFromImage \"doc\"", number(lib->CountChildFromImage(tree, drive, u"doc")));
  say(u"CountChildFromImage \"DOC\", similar",
      number(lib->CountChildFromImage(tree, drive, u"DOC", true)));
  const int32_t workIndex = zv::toLong(zv::get(workNode, u"Index"));
  say(u"GetAllTagFromChild(work, \";\")", lib->GetAllTagFromChild(tree, workIndex, u";"));
  say(u"SearchParentFromImage \"drive\"",
      lib->SearchParentFromImage(tree, work + u"\\Budget_xls", u"drive"));
  say(u"GetChildPosition(Budget.xls)", number(lib->GetChildPosition(tree, work + u"\\Budget_xls")));
  int32_t index = 0;
  const bool exists = lib->isNodeKeyExist(tree, u"C:\\My documents", index);
  say(u"isNodeKeyExist(\"C:\\My documents\")",
      zv::booleanToString(exists) + u", index " + number(index));
}

}  // namespace zvv
