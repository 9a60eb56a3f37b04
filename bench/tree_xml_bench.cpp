// TrViewLib's tree XML files on tree-view models of 100,000 and 200,000 nodes, each timed
// against a peer measured in the same run: saving against writing the same bytes with one
// fwrite, loading against `xmllint --noout` reading the same file (CPU times, the peer's
// as its child process; best of several runs). Prints the times, the ratios to the peers and the doubling ratios;
// exits 1 when a goal is missed (load within 2x, save within 3x, doubling at most 2.2x).
// Not a test.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "api/TrViewLib.h"
#include "cpu_time.h"
#include "frame/classes.h"
#include "runtime/convert.h"

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;

constexpr int kRuns = 5;

double bestSeconds(const std::function<void()>& run) {
  double best = 1e9;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

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

struct Figures {
  double save = 0, fwrite = 0, load = 0, xmllint = 0;
};

Figures measure(int32_t count, const std::string& folder) {
  Figures f;
  auto lib = zv::TrViewLib::create();
  ObjectRef tree = sampleTree(count);
  const std::string path = folder + "/tree" + std::to_string(count) + ".xml";
  const String file = zv::fromUtf8(path);
  f.save = bestSeconds([&] { lib->TreeViewToXMLfile(tree, file, u"bench", u"", false); });
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const std::string copy = folder + "/copy.xml";
  f.fwrite = bestSeconds([&] {
    std::FILE* out = std::fopen(copy.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  });
  f.load = bestSeconds([&] {
    ObjectRef loaded = zv::createModel(u"TreeView");
    if (!lib->TreeViewFromXMLfile(loaded, file, u"bench", false, true)) std::exit(2);
  });
  const std::string command = "xmllint --noout '" + path + "'";
  f.xmllint = bestSeconds([&] {
    if (std::system(command.c_str()) != 0) std::exit(2);
  });
  std::printf(
      "%7d nodes, %5.1f MB: save %7.1f ms (fwrite %5.1f ms, %.2fx)  load %7.1f ms "
      "(xmllint %6.1f ms, %.2fx)\n",
      count, bytes.size() / 1e6, f.save * 1e3, f.fwrite * 1e3, f.save / f.fwrite, f.load * 1e3,
      f.xmllint * 1e3, f.load / f.xmllint);
  return f;
}

bool check(const char* what, double value, double limit) {
  std::printf("%-28s %.2fx (goal at most %.1fx): %s\n", what, value, limit,
              value <= limit ? "met" : "NOT MET");
  return value <= limit;
}

}  // namespace

int main() {
  std::string folder = (std::filesystem::temp_directory_path() / "zv-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) return 2;
  const Figures small = measure(100000, folder);
  const Figures large = measure(200000, folder);
  std::filesystem::remove_all(folder);
  bool ok = check("load / xmllint", small.load / small.xmllint, 2.0);
  ok &= check("save / fwrite", small.save / small.fwrite, 3.0);
  ok &= check("save doubling", large.save / small.save, 2.2);
  ok &= check("load doubling", large.load / small.load, 2.2);
  return ok ? 0 : 1;
}
