#include "tree_xml_command.h"

#include <cstdio>
#include <vector>

#include "api/TrViewLib.h"
#include "frame/classes.h"
#include "frame/report_listener.h"
#include "runtime/convert.h"
#include "visible_text.h"

namespace zvv {

namespace {

using zv::String;

// How many of the tree's nodes have no parent.
int32_t rootCount(const zv::ObjectRef& nodes, int32_t count) {
  int32_t roots = 0;
  for (int32_t i = 1; i <= count; ++i) {
    const zv::ObjectRef node = zv::toObject(zv::call(nodes, u"Item", {zv::Variant(i)}));
    if (!zv::toObject(zv::get(node, u"Parent"))) ++roots;
  }
  return roots;
}

}  // namespace

int treeXmlCommand(const char* file) {
  std::vector<String> reports;
  const zv::ReportListener previous =
      zv::setReportListener([&](const String& message, bool) { reports.push_back(message); });
  zv::ObjectRef tree = zv::createModel(u"TreeView");
  const bool loaded =
      zv::TrViewLib::create()->TreeViewFromXMLfile(tree, zv::fromUtf8(file), u"zvv", false, true);
  zv::setReportListener(previous);
  const zv::ObjectRef nodes = zv::toObject(zv::get(tree, u"Nodes"));
  const int32_t count = zv::toLong(zv::get(nodes, u"Count"));
  if (!loaded) {
    std::fprintf(stderr, "zvv: %s: not a tree XML file the library loads\n", file);
    for (const String& report : reports)
      std::fprintf(stderr, "  %s\n", visibleUtf8(report).c_str());
    return 1;
  }
  std::printf("%s: %d nodes, %d roots\n", file, count, rootCount(nodes, count));
  // Nodes the file described but the tree could not take (a missing parent, a taken key).
  for (const String& report : reports)
    std::printf("  skipped: %s\n", visibleUtf8(report).c_str());
  return 0;
}

}  // namespace zvv
