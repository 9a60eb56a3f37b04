// TrViewLib on large tree-view models: each case at half and full size (default 100,000
// nodes, or 10,000 children of one node), timed against a peer measured in the same run:
// a direct C++ loop over the same model without late binding (for building, the model's
// own Add under keys made up front). CPU time, the best of interleaved rounds. One JSON line
// a measurement (record.h), for bench/report.
//   zv_treeview_bench [NODES]   (the children cases use NODES / 10)
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

#include "api/TrViewLib.h"
#include "controls/models/ImageList.h"
#include "controls/models/TreeView.h"
#include "cpu_time.h"
#include "frame/classes.h"
#include "record.h"
#include "runtime/convert.h"

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;
using zv::bench::cpuSeconds;
using zv::models::Node;
using Tree = std::shared_ptr<zv::models::TreeView>;

constexpr int kRepeats = 3;

// How many calls make a run of at least 50 ms, so that short calls time steadily.
int timesFor(const std::function<void()>& call) {
  const double start = cpuSeconds();
  call();
  const double once = std::max(cpuSeconds() - start, 1e-6);
  return std::max(1, static_cast<int>(0.05 / once));
}

// CPU time per call of `times` calls.
double timed(const std::function<void()>& call, int times) {
  const double start = cpuSeconds();
  for (int k = 0; k < times; ++k)
    call();
  return (cpuSeconds() - start) / times;
}

String number(int64_t n) {
  return zv::longToString(n);
}

Tree emptyTree() {
  auto tree = std::make_shared<zv::models::TreeView>();
  auto images = std::make_shared<zv::models::ImageList>();
  for (const char16_t* key : {u"folder", u"doc"})
    images->images().Add(Variant::missing(), Variant(key), Variant::missing());
  tree->set_ImageList(images);
  return tree;
}

Node& add(const Tree& tree, const Variant& parent, const String& key, const String& text,
          const char16_t* image) {
  const Variant relationship = parent.isEmpty() ? Variant::missing() : Variant(int16_t{4});
  const ObjectRef node =
      tree->nodes().Add(parent.isEmpty() ? Variant::missing() : parent, relationship, Variant(key),
                        Variant(text), Variant(image), Variant::missing());
  return static_cast<Node&>(*node);
}

// A root, folders of `perFolder` nodes each (the folder and its files): `nodes` in all.
Tree folderTree(int64_t nodes, int64_t perFolder = 1000) {
  Tree tree = emptyTree();
  add(tree, Variant(), u"R", u"Root", u"folder");
  for (int64_t f = 0; f * perFolder < nodes - 1; ++f) {
    const String folder = u"R\\F" + number(f);
    add(tree, Variant(u"R"), folder, u"Folder " + number(f), u"folder");
    for (int64_t i = 1; i < perFolder && f * perFolder + i < nodes - 1; ++i)
      add(tree, Variant(folder), folder + u"\\" + number(i), u"File " + number(i), u"doc");
  }
  return tree;
}

// A root with `children` children; `text(i)` names child i.
Tree wideTree(int64_t children, const std::function<String(int64_t)>& text) {
  Tree tree = emptyTree();
  add(tree, Variant(), u"R", u"Root", u"folder");
  for (int64_t i = 0; i < children; ++i)
    add(tree, Variant(u"R"), u"R\\" + number(i), text(i), i % 2 ? u"doc" : u"folder");
  return tree;
}

// The peer: every node of the model compared directly (typed calls, no late binding).
int64_t directTextScan(const Tree& tree, const String& text) {
  int64_t found = 0;
  for (const auto& node : tree->nodes().list().items())
    found += node->get_Text() == text;
  return found;
}

// The library's and the peer's times at half and full size.
void report(const char* operation, const char* unit, const int64_t sizes[2], const double times[2],
            const double peers[2]) {
  for (int k = 0; k < 2; ++k)
    zv::bench::emit(zv::bench::Record{operation, unit, sizes[k], 0, times[k],
                                      "direct C++ loop, no late binding", peers[k]});
}

// A case at one size: the tree it runs on, the library's call and the direct loop.
struct Sized {
  Tree tree;
  std::function<void()> call;
  std::function<void()> peer;
};

struct Case {
  const char* operation;
  const char* unit;
  int64_t size;  // full
  std::function<Sized(int64_t size)> make;
};

// The call and its peer at half and full size, the rounds interleaved so that a change in
// the machine's load touches both sizes alike; the best round of each counts.
void measure(const Case& c) {
  const int64_t sizes[2] = {c.size / 2, c.size};
  const Sized sized[2] = {c.make(sizes[0]), c.make(sizes[1])};
  const int calls = timesFor(sized[0].call), peerCalls = timesFor(sized[0].peer);
  double times[2] = {1e300, 1e300}, peers[2] = {1e300, 1e300};
  for (int round = 0; round < kRepeats; ++round) {
    for (int k = 0; k < 2; ++k) {
      times[k] = std::min(times[k], timed(sized[k].call, calls));
      peers[k] = std::min(peers[k], timed(sized[k].peer, peerCalls));
    }
  }
  report(c.operation, c.unit, sizes, times, peers);
}

// `run(n, library)` gives the CPU time of one run at n nodes, of the library (true) and of
// the peer (false): two rounds at half and full size, interleaved; the best of each counts.
void timedAtTwoSizes(const char* operation, int64_t full,
                     const std::function<double(int64_t, bool)>& run) {
  const int64_t sizes[2] = {full / 2, full};
  double library[2] = {1e300, 1e300}, peer[2] = {1e300, 1e300};
  for (int round = 0; round < 2; ++round) {
    for (int k = 0; k < 2; ++k) {
      library[k] = std::min(library[k], run(sizes[k], true));
      peer[k] = std::min(peer[k], run(sizes[k], false));
    }
  }
  report(operation, "nodes", sizes, library, peer);
}

}  // namespace

int main(int argc, char** argv) {
  const int64_t nodes = argc > 1 ? std::atoll(argv[1]) : 100000, children = nodes / 10;
  auto lib = zv::TrViewLib::create();
  // The library's call on `tree`, with the direct loop as its peer.
  auto sized = [](Tree tree, std::function<void(const ObjectRef& tree)> call) {
    ObjectRef ref = tree;
    return Sized{tree, [call, ref] { call(ref); }, [tree] { directTextScan(tree, u"nowhere"); }};
  };
  auto root = [](const ObjectRef& tree) {
    return zv::toObject(zv::call(zv::toObject(zv::get(tree, u"Nodes")), u"Item", {Variant(u"R")}));
  };

  const Case cases[] = {
      {"TrViewLib.FindNodeFromText, a miss", "nodes", nodes,
       [&](int64_t n) {
         return sized(folderTree(n), [&](const ObjectRef& t) {
           ObjectRef tree = t;
           lib->FindNodeFromText(tree, u"nowhere");
         });
       }},
      {"TrViewLib.SearchNodeFromTextAndPushInColl, a miss below the root", "nodes", nodes,
       [&](int64_t n) {
         return sized(folderTree(n), [&](const ObjectRef& t) {
           ObjectRef tree = t, coll = zv::createModel(u"Collection");
           lib->SearchNodeFromTextAndPushInColl(tree, coll, u"R", u"nowhere");
         });
       }},
      {"TrViewLib.CountChildFromImage over one node's children", "children", children,
       [&](int64_t n) {
         return sized(wideTree(n, [](int64_t i) { return u"Child " + number(i); }),
                      [&](const ObjectRef& t) {
                        ObjectRef tree = t, node = root(t);
                        lib->CountChildFromImage(tree, node, u"doc", false, false);
                      });
       }},
      {"TrViewLib.CheckExistingLabelAndGetNew, children sharing a text", "children", children,
       [&](int64_t n) {
         return sized(
             wideTree(n, [](int64_t i) { return i ? u"Report #" + number(i) : String(u"Report"); }),
             [&, n](const ObjectRef& t) {
               ObjectRef tree = t, node = root(t);
               if (lib->CheckExistingLabelAndGetNew(tree, node, u"Report") !=
                   u"Report #" + number(n))
                 std::abort();
             });
       }},
      {"TrViewLib.CreateChildNode, keys 1 to 500 taken among the children", "children", children,
       [&](int64_t n) {
         Tree tree = wideTree(n - 501, [](int64_t i) { return u"Child " + number(i); });
         for (int64_t i = 0; i <= 500; ++i)
           add(tree, Variant(u"R"), u"R\\" + (i ? number(i) : String()) + u"x", u"x", u"doc");
         return sized(tree, [&](const ObjectRef& t) {
           ObjectRef tree = t;
           if (!lib->CreateChildNode(tree, u"R", u"x", u"doc", u"", true, false, true, false)
                    .empty())
             std::abort();
         });
       }},
  };

  for (const Case& c : cases)
    measure(c);

  // Building through CreateChildNode: each folder's 99 children share 10 labels, so keys
  // are numbered; the peer adds the same nodes under keys of its own directly.
  auto build = [&](int64_t n, bool library) {
    const double start = cpuSeconds();
    Tree tree = emptyTree();
    ObjectRef ref = tree;
    for (int64_t f = 0; f * 100 < n; ++f) {
      const String folder = u"F" + number(f);
      add(tree, Variant(), folder, u"Folder", u"folder");
      for (int64_t i = 1; i < 100; ++i) {
        const String label = u"Item " + number(i % 10);
        if (library)
          lib->CreateChildNode(ref, folder, label, u"doc");
        else
          add(tree, Variant(folder), folder + u"\\" + number(i), label, u"doc");
      }
    }
    return cpuSeconds() - start;
  };
  timedAtTwoSizes("TrViewLib.CreateChildNode building a tree, 10 labels among 99 children", nodes,
                  build);

  // SubTreeCopy of the root of folders of 100 nodes under a second root; the peer builds
  // the same nodes directly.
  auto copy = [&](int64_t n, bool library) {
    double start = cpuSeconds();
    Tree tree = folderTree(n, 100);
    if (!library) return cpuSeconds() - start;
    add(tree, Variant(), u"T", u"Target", u"folder");
    ObjectRef ref = tree;
    start = cpuSeconds();
    if (!lib->SubTreeCopy(ref, u"R", u"T")) std::abort();
    return cpuSeconds() - start;
  };
  timedAtTwoSizes("TrViewLib.SubTreeCopy, folders of 100 nodes", nodes, copy);
  return 0;
}
