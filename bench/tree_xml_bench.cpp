// TrViewLib's tree XML files on tree-view models at half and full size (default 100,000
// nodes), each against a peer measured in the same run: saving against writing the same
// bytes with one fwrite, loading against `xmllint --noout` reading the same file (its CPU
// time as a child process). CPU time, the best of three. One JSON line a measurement
// (record.h), for bench/report.
//   zv_tree_xml_bench [NODES]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "api/TrViewLib.h"
#include "child_process.h"
#include "cpu_time.h"
#include "frame/classes.h"
#include "inputs.h"
#include "record.h"
#include "runtime/convert.h"

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;
using namespace zv::bench;

constexpr int kRounds = 3;

// Roots of 10 folders of 100 nodes each, every node with a tag and some bold or coloured.
ObjectRef sampleTree(int32_t count) {
  ObjectRef tree = zv::createModel(u"TreeView");
  const ObjectRef nodes = zv::toObject(zv::get(tree, u"Nodes"));
  const auto add = [&](const String& parent, const String& key, const String& text) {
    const Variant relative = parent.empty() ? Variant::missing() : Variant(parent);
    const Variant relation = parent.empty() ? Variant::missing() : Variant(int16_t{4});
    const ObjectRef node =
        zv::toObject(zv::call(nodes, u"Add", {relative, relation, Variant(key), Variant(text)}));
    zv::put(node, u"Tag", Variant(u"tag & <" + key + u">"));
    return node;
  };
  String root, folder;
  for (int32_t i = 0; i < count; ++i) {
    const String n = zv::longToString(i);
    if (i % 1000 == 0) {
      root = u"R" + n;
      add(u"", root, u"Racine " + n);
    } else if (i % 100 == 0) {
      folder = root + u"\\F" + n;
      zv::put(add(root, folder, u"Dossier \u00e9t\u00e9 " + n), u"Bold", Variant(true));
    } else {
      zv::put(add(folder, folder + u"\\" + n, u"Fichier " + n), u"ForeColor", Variant(i % 255));
    }
  }
  return tree;
}

void measure(int32_t count, const std::filesystem::path& folder) {
  auto lib = zv::TrViewLib::create();
  ObjectRef tree = sampleTree(count);
  const std::string path = (folder / ("tree" + std::to_string(count) + ".xml")).string();
  const String file = zv::fromUtf8(path);
  const double save = bestOf(kRounds, [&] {
    return timed([&] { lib->TreeViewToXMLfile(tree, file, u"bench", u"", false); });
  });
  const std::string bytes = readFile(path);
  const std::string copy = (folder / "copy.xml").string();
  const double written = bestOf(kRounds, [&] {
    return timed([&] {
      std::FILE* out = std::fopen(copy.c_str(), "wb");
      std::fwrite(bytes.data(), 1, bytes.size(), out);
      std::fclose(out);
    });
  });
  const double load = bestOf(kRounds, [&] {
    ObjectRef loaded = zv::createModel(u"TreeView");
    bool ok = false;
    const double t =
        timed([&] { ok = lib->TreeViewFromXMLfile(loaded, file, u"bench", false, true); });
    if (!ok) std::exit(2);
    return t;
  });
  const double xmllint = bestOf(kRounds, [&] {
    return runProgram({"xmllint", "--noout", path}).cpu;
  });
  const double size = double(bytes.size()), copied = plainCopySeconds(bytes.size());
  emit(Record{"TrViewLib.TreeViewToXMLfile", "nodes", count, size, save, "one fwrite of the bytes",
              written, copied});
  emit(Record{"TrViewLib.TreeViewFromXMLfile", "nodes", count, size, load, "xmllint --noout",
              xmllint, copied});
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t full = argc > 1 ? std::atoi(argv[1]) : 100000;
  TempDir folder;
  measure(full / 2, folder.path());
  measure(full, folder.path());
  return 0;
}
