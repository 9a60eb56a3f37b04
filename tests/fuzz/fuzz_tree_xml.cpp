// libFuzzer target over the tree XML reader: arbitrary bytes as a tree XML file, loaded
// into a tree-view model with and without value keys, then loaded again below one of the
// nodes it made. Any result is an answer; a crash, a hang, a leak or a sanitizer report is
// a bug.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "api/TrViewLib.h"
#include "frame/classes.h"
#include "frame/file_numbers.h"
#include "platform/user_interface.h"
#include "runtime/convert.h"

namespace {

// The "File is empty" box, answered without a word.
class QuietUserInterface : public zv::platform::UserInterface {
 public:
  int32_t messageBox(const zv::platform::MessageBoxRequest&) override {
    return zv::platform::kAnswerOk;
  }
  void setMousePointer(int32_t) override {}
};

const std::string& inputPath() {
  static const std::string path = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zv-fuzz-tree-xml-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return pattern + "/input.xml";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QuietUserInterface quiet;
  static zv::platform::UserInterface* const installed = zv::platform::installUserInterface(&quiet);
  (void)installed;
  std::FILE* f = std::fopen(inputPath().c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  const zv::String file = zv::fromUtf8(inputPath());
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
  if (zv::openFileCount() != 0) std::abort();
  return 0;
}
