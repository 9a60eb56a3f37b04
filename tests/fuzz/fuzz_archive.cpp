// libFuzzer target over the archiver: arbitrary bytes as an archive, listed, tested and
// extracted (into a scratch folder emptied after each input), with a password at hand
// for encrypted entries. Any exit code is an answer; a crash, a hang, a leak, a sanitizer
// report or a file written outside the scratch folder is a bug.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "archiver/interface.h"

namespace {

namespace fs = std::filesystem;

struct Scratch {
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "zv-fuzz-archive-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    root = pattern;
    archive = root + "/input.zip";
    inside = root + "/out/in";
  }
  std::string root, archive, inside;
};

Scratch& scratch() {
  static Scratch s;
  return s;
}

int print(char*, uint32_t) {
  return 0;
}
int replace(char*) {
  return 102;
}
int password(char* buffer, int, const char*, const char*) {
  std::memcpy(buffer, "pw", 2);
  return 0;
}
void entry(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, char,
           const char* name, const char* method, uint32_t, char) {
  if (!name || !method) std::abort();
}

int run(int list, int test) {
  Scratch& s = scratch();
  USERFUNCTIONS callbacks{};
  callbacks.print = print;
  callbacks.replace = replace;
  callbacks.password = password;
  callbacks.SendApplicationMessage = entry;
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Scratch& s = scratch();
  if (FILE* f = std::fopen(s.archive.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  run(1, 0);
  run(0, 1);
  run(0, 0);
  run(0, 0);  // again, over what the first extraction left
  // Only the extraction folder may hold what came out.
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(s.root + "/out", ec))
    if (e.path().filename() != "in") std::abort();
  for (const auto& e : fs::directory_iterator(s.root, ec))
    if (e.path().filename() != "out" && e.path().filename() != "input.zip") std::abort();
  fs::remove_all(s.root + "/out", ec);
  return 0;
}
