// The compact command-line forms of the list-view and tree-view models, read as arguments
// (@ListView=..., @TreeView=...) and written back after a call.
//
// ListView: groups separated by "|": the first holds the header texts, each further one a
// row; texts within a group are separated by ";" (a row's Text, then its sub-items). A row
// may start with "[x]" (checked: the list-view shows check boxes) and then "{key}".
//   City;Country|Paris;France|[x]{r}Rome;Italy
// TreeView: nodes separated by "|" in tree order, each written as ">" once per level below
// the roots, then "{key}" when it has one, then its text.
//   {eu}Europe|>{fr}France|>>Paris|Asia
#pragma once

#include "runtime/object.h"

namespace zvv {

zv::ObjectRef listViewFromText(const zv::String& text);
zv::ObjectRef treeViewFromText(const zv::String& text);

// The forms above of any object offering a list-view's or tree-view's members.
zv::String listViewText(const zv::ObjectRef& view);
zv::String treeViewText(const zv::ObjectRef& view);

}  // namespace zvv
