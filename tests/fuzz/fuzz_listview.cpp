// libFuzzer target over the delimited import: arbitrary bytes as a data file, loaded into a
// list-view model with options taken from the first bytes, then written out again as
// delimited text and XML. Any result and any box is an answer; a crash, a hang, a leak, a
// sanitizer report or a file left open is a bug.
//
// Input: byte 0 the flags (header line, quotes, empty columns, ";" to blank, quoted line
// breaks, generic headers, first line skipped, header file), byte 1 the separator (0 a
// tab, 1 ";", 2 the two characters "||", else that byte) and the column left empty (its
// low bits), the rest the file. With the header-file flag, the bytes after the first 0xFE
// of the rest become the header file.

#include <cstdint>
#include <filesystem>
#include <string>

#include "api/LstViewLib.h"
#include "frame/classes.h"
#include "frame/file_numbers.h"
#include "fuzz_support.h"
#include "runtime/errors.h"

namespace {

zv::String separatorOf(uint8_t b) {
  const uint8_t kind = b & 0xF8;
  return kind == 0 ? u"\t" : kind == 8 ? u";" : kind == 16 ? u"||" : zv::String(1, char16_t(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  zv::fuzz::silenceMessageBoxes();
  static const zv::fuzz::ScratchFolder s("listview");
  const uint8_t flags = data[0];
  const std::string input = s.file("input.txt");
  const std::string headerFile = s.file("header.txt");
  const uint8_t* rest = data + 2;
  size_t restSize = size - 2;
  std::error_code ec;
  std::filesystem::remove(headerFile, ec);
  if (flags & 0x80) {
    size_t cut = 0;
    while (cut < restSize && rest[cut] != 0xFE)
      ++cut;
    if (cut < restSize) zv::fuzz::writeFile(headerFile, rest + cut + 1, restSize - cut - 1);
    restSize = cut;
  }
  zv::fuzz::writeFile(input, rest, restSize);

  auto lib = zv::LstViewLib::create();
  zv::ObjectRef view = zv::createModel(u"ListView");
  lib->LoadListViewFromASCII(zv::fromUtf8(input), view, flags & 1, flags & 2, flags & 4, flags & 8,
                             flags & 16, separatorOf(data[1]), flags & 32, zv::fromUtf8(headerFile),
                             static_cast<int16_t>(data[1] & 7), flags & 64);
  zv::String delimiter = u",", enclose = u"\"", empty;
  bool no = false;
  int16_t none = 0;
  lib->ListViewToASCII(zv::fromUtf8(s.file("out.csv")), view, delimiter, enclose, no, empty, empty,
                       none, empty);
  bool tagHeader = true;
  lib->ListViewToXMLfile(zv::fromUtf8(s.file("out.xml")), view, no, tagHeader, none);
  zv::fuzz::check(zv::openFileCount() == 0);
  return 0;
}
