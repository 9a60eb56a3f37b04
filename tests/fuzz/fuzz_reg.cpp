// libFuzzer target over the .reg reader of `zvv reg import` and the registry store behind
// it: arbitrary bytes imported as a .reg file into an empty store, every root exported,
// the store emptied, the exports imported again and exported once more. Beyond no crash:
// our own exports import without an error and give the same files again (the round trip
// loses nothing).
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "reg_file.h"

namespace {

constexpr const char* kRoots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS"};

// The store on a memory file system where there is one: it syncs on every write.
struct Store {
  Store()
      : scratch("reg", std::filesystem::is_directory("/dev/shm")
                           ? std::filesystem::path("/dev/shm")
                           : std::filesystem::temp_directory_path()) {
    setenv("ZV_REGISTRY", scratch.file("registry.db").c_str(), 1);
  }
  void empty() const {
    for (const char* file : {"registry.db", "registry.db-wal", "registry.db-shm"})
      std::remove(scratch.file(file).c_str());
  }
  std::string exported(int root, int round) const {
    return scratch.file("export" + std::to_string(root) + "-" + std::to_string(round) + ".reg");
  }
  zv::fuzz::ScratchFolder scratch;
};

// The size of the UTF-16 export of a root with no value and no subkey: the byte order
// mark, the header line, a blank line, "[ROOT]" and a blank line.
size_t emptyExportSize(int root) {
  return 2 + 2 * (36 + 4 + std::strlen(kRoots[root]) + 2 + 4);
}

int reg(const char* command, const std::string& a, const std::string& b = {}) {
  char* argv[] = {const_cast<char*>(command), const_cast<char*>(a.c_str()),
                  const_cast<char*>(b.c_str())};
  return zvv::regCommand(b.empty() ? 2 : 3, argv);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Store store;
  store.empty();
  const std::string input = store.scratch.file("input.reg");
  zv::fuzz::writeFile(input, data, size);
  const int imported = reg("import", input);
  if (imported != 0 && imported != 1) std::abort();
  // Only the roots that received something go round again: each store call costs.
  std::vector<int> used;
  for (int root = 0; root < 4; ++root) {
    if (reg("export", kRoots[root], store.exported(root, 1)) != 0) std::abort();
    if (zv::fuzz::readFile(store.exported(root, 1)).size() != emptyExportSize(root))
      used.push_back(root);
  }
  store.empty();
  for (const int root : used)
    if (reg("import", store.exported(root, 1)) != 0) std::abort();
  for (const int root : used) {
    if (reg("export", kRoots[root], store.exported(root, 2)) != 0) std::abort();
    if (zv::fuzz::readFile(store.exported(root, 1)) != zv::fuzz::readFile(store.exported(root, 2)))
      std::abort();
  }
  return 0;
}
