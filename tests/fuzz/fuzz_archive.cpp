// libFuzzer target over the archiver: arbitrary bytes as an archive, listed, tested and
// extracted (into a scratch folder emptied after each input), with a password at hand
// for encrypted entries; then through UnZipLib, its directory read entry by entry and
// every other entry extracted. Any exit code is an answer; a crash, a hang, a leak, a
// sanitizer report, a date out of range or a file written outside the scratch folder is
// a bug.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "api/UnZipLib.h"
#include "archiver/interface.h"
#include "fuzz_support.h"
#include "runtime/errors.h"
#include "runtime/text.h"
#include "runtime/vbdate.h"

namespace {

namespace fs = std::filesystem;

struct Scratch {
  zv::fuzz::ScratchFolder folder{"archive"};
  std::string root = folder.root(), archive = folder.file("input.zip"),
              inside = folder.file("out/in");
};

Scratch& scratch() {
  static Scratch s;
  return s;
}

int run(int list, int test) {
  Scratch& s = scratch();
  USERFUNCTIONS callbacks{};
  callbacks.print = [](char*, uint32_t) { return 0; };
  callbacks.replace = [](char*) { return 102; };
  callbacks.password = [](char* buffer, int, const char*, const char*) {
    std::memcpy(buffer, "pw", 2);
    return 0;
  };
  callbacks.SendApplicationMessage =
      [](uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, char,
         const char* name, const char* method, uint32_t, char) { zv::fuzz::check(name && method); };
  DCL options{};
  options.nvflag = list;
  options.ntflag = test;
  options.ndflag = 1;
  options.PromptToOverwrite = 1;
  options.naflag = 1;
  options.lpszZipFN = s.archive.data();
  options.lpszExtractDir = s.inside.data();
  return Wiz_SingleEntryUnzip(0, nullptr, 0, nullptr, &options, &callbacks);
}

void throughClass(const Scratch& s) {
  zv::fuzz::silenceMessageBoxes();
  auto unzip = zv::UnZipLib::create();
  try {
    unzip->let_ZipFile(zv::fromUtf8(s.archive));
    unzip->Directory();
    for (int32_t i = 1; i <= unzip->get_FileCount(); ++i) {
      unzip->get_Filename(i);
      unzip->get_FileDirectory(i);
      unzip->get_FilePackedSize(i);
      unzip->get_FileCompressionRatio(i);
      unzip->get_FileCompressionMethod(i);
      zv::fuzz::check(zv::isDateInRange(unzip->get_FileDate(i)));
      unzip->let_FileSelected(i, i % 2 == 1);
    }
    unzip->let_PromptToOverwrite(false);
    unzip->let_OverwriteExisting(true);
    unzip->let_UnzipFolder(zv::fromUtf8(s.root + "/out/class"));
    unzip->Unzip();
  } catch (const zv::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Scratch& s = scratch();
  zv::fuzz::writeFile(s.archive, data, size);
  // List, test, extract, and extract again over what the first extraction left.
  for (auto [list, test] : {std::pair{1, 0}, {0, 1}, {0, 0}, {0, 0}})
    run(list, test);
  throughClass(s);
  // Only the extraction folder may hold what came out.
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(s.root + "/out", ec))
    zv::fuzz::check(e.path().filename() == "in" || e.path().filename() == "class");
  for (const auto& e : fs::directory_iterator(s.root, ec))
    zv::fuzz::check(e.path().filename() == "out" || e.path().filename() == "input.zip");
  fs::remove_all(s.root + "/out", ec);
  return 0;
}
