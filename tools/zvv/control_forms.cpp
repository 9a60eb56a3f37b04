#include "control_forms.h"

#include <vector>

#include "frame/classes.h"
#include "runtime/convert.h"
#include "runtime/errors.h"

namespace zvv {

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;

std::vector<String> split(const String& text, char16_t separator) {
  std::vector<String> parts;
  size_t from = 0;
  for (size_t at; (at = text.find(separator, from)) != String::npos; from = at + 1)
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

// Removes a leading "{key}" from `text` and gives the key ("" without one).
String takeKey(String& text) {
  if (text.empty() || text[0] != u'{') return {};
  const size_t close = text.find(u'}');
  if (close == String::npos) zv::raise(zv::err::kInvalidCall, u"Unclosed key in " + text);
  String key = text.substr(1, close - 1);
  text.erase(0, close + 1);
  return key;
}

Variant keyArgument(const String& key) {
  return key.empty() ? Variant::missing() : Variant(key);
}

ObjectRef member(const ObjectRef& object, const char16_t* name) {
  return zv::toObject(zv::get(object, name));
}

int32_t count(const ObjectRef& collection) {
  return zv::toLong(zv::get(collection, u"Count"));
}

ObjectRef item(const ObjectRef& collection, int32_t i) {
  return zv::toObject(zv::call(collection, u"Item", {Variant(i)}));
}

String keyed(const ObjectRef& object) {
  const String key = zv::toString(zv::get(object, u"Key"));
  return (key.empty() ? String() : u"{" + key + u"}") + zv::toString(zv::get(object, u"Text"));
}

}  // namespace

ObjectRef listViewFromText(const String& text) {
  ObjectRef view = zv::createModel(u"ListView");
  if (text.empty()) return view;
  const std::vector<String> groups = split(text, u'|');
  const ObjectRef headers = member(view, u"ColumnHeaders");
  if (!groups[0].empty())
    for (const String& caption : split(groups[0], u';'))
      zv::call(headers, u"Add", {Variant::missing(), Variant::missing(), Variant(caption)});
  const ObjectRef rows = member(view, u"ListItems");
  for (size_t g = 1; g < groups.size(); ++g) {
    String line = groups[g];
    const bool checked = line.rfind(u"[x]", 0) == 0;
    if (checked) line.erase(0, 3);
    const String key = takeKey(line);
    const std::vector<String> cells = split(line, u';');
    const ObjectRef row = zv::toObject(
        zv::call(rows, u"Add", {Variant::missing(), keyArgument(key), Variant(cells[0])}));
    for (size_t k = 1; k < cells.size(); ++k)
      zv::put(row, u"SubItems", Variant(cells[k]), {Variant(static_cast<int16_t>(k))});
    if (checked) {
      zv::put(view, u"Checkboxes", Variant(true));
      zv::put(row, u"Checked", Variant(true));
    }
  }
  return view;
}

String listViewText(const ObjectRef& view) {
  const ObjectRef headers = member(view, u"ColumnHeaders");
  String out;
  for (int32_t c = 1; c <= count(headers); ++c)
    out += (c > 1 ? u";" : u"") + zv::toString(zv::get(item(headers, c), u"Text"));
  const ObjectRef rows = member(view, u"ListItems");
  const bool checkboxes = zv::toBoolean(zv::get(view, u"Checkboxes"));
  for (int32_t r = 1; r <= count(rows); ++r) {
    const ObjectRef row = item(rows, r);
    out += u"|";
    if (checkboxes && zv::toBoolean(zv::get(row, u"Checked"))) out += u"[x]";
    out += keyed(row);
    const ObjectRef cells = member(row, u"ListSubItems");
    for (int32_t k = 1; k <= count(cells); ++k)
      out += u";" + zv::toString(zv::get(item(cells, k), u"Text"));
  }
  return out;
}

ObjectRef treeViewFromText(const String& text) {
  ObjectRef view = zv::createModel(u"TreeView");
  if (text.empty()) return view;
  const ObjectRef nodes = member(view, u"Nodes");
  std::vector<ObjectRef> path;  // the last node seen at each level
  for (String line : split(text, u'|')) {
    size_t depth = 0;
    while (depth < line.size() && line[depth] == u'>')
      ++depth;
    if (depth > path.size()) zv::raise(zv::err::kInvalidCall, u"No parent for " + line);
    line.erase(0, depth);
    const String key = takeKey(line);
    const Variant relative =
        depth ? Variant(zv::get(path[depth - 1], u"Index")) : Variant::missing();
    const Variant relationship = depth ? Variant(int16_t{4}) : Variant::missing();
    path.resize(depth);
    path.push_back(zv::toObject(
        zv::call(nodes, u"Add", {relative, relationship, keyArgument(key), Variant(line)})));
  }
  return view;
}

String treeViewText(const ObjectRef& view) {
  const ObjectRef nodes = member(view, u"Nodes");
  if (count(nodes) < 1) return {};
  String out;
  // Depth first, without recursion: each entry is a node and its level.
  std::vector<std::pair<ObjectRef, size_t>> pending;
  auto pushSiblings = [&](ObjectRef first, size_t level) {
    std::vector<std::pair<ObjectRef, size_t>> siblings;
    for (ObjectRef n = first; n; n = member(n, u"Next"))
      siblings.emplace_back(n, level);
    pending.insert(pending.end(), siblings.rbegin(), siblings.rend());
  };
  // From the first root: Nodes(1) may lie anywhere in the tree.
  pushSiblings(member(member(item(nodes, 1), u"Root"), u"FirstSibling"), 0);
  while (!pending.empty()) {
    auto [node, level] = pending.back();
    pending.pop_back();
    if (!out.empty()) out += u"|";
    out += String(level, u'>') + keyed(node);
    if (zv::toLong(zv::get(node, u"Children")) > 0) pushSiblings(member(node, u"Child"), level + 1);
  }
  return out;
}

}  // namespace zvv
