// libFuzzer target over the tree XML reader: arbitrary bytes as a tree XML file, loaded
// into a tree-view model with and without value keys, then loaded again below one of the
// nodes it made. Any result is an answer; a crash, a hang, a leak or a sanitizer report is
// a bug.
#include <cstdint>
#include <string>

#include "api/TrViewLib.h"
#include "frame/classes.h"
#include "frame/file_numbers.h"
#include "fuzz_support.h"
#include "runtime/convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The "File is empty" box, answered without a word.
  zv::fuzz::silenceMessageBoxes();
  static const zv::fuzz::ScratchFolder scratch("tree-xml");
  const std::string input = scratch.file("input.xml");
  zv::fuzz::writeFile(input, data, size);

  const zv::String file = zv::fromUtf8(input);
  auto lib = zv::TrViewLib::create();
  for (const bool useValueKey : {true, false}) {
    zv::ObjectRef tree = zv::createModel(u"TreeView");
    lib->TreeViewFromXMLfile(tree, file, u"fuzz", false, useValueKey);
    const zv::ObjectRef nodes = zv::toObject(zv::get(tree, u"Nodes"));
    if (zv::toLong(zv::get(nodes, u"Count")) == 0) continue;
    zv::String key = zv::toString(
        zv::get(zv::toObject(zv::call(nodes, u"Item", {zv::Variant(int32_t{1})})), u"Key"));
    lib->SubTreeFromXMLfile(tree, key, file, false, useValueKey);
  }
  zv::fuzz::check(zv::openFileCount() == 0);
  return 0;
}
