// The list-view's files on the list-view model at half and full size, against peers
// measured in the same run:
// - LoadListViewFromASCII of a generated LINES-line, 8-field file (default 1,000,000 lines,
//   about 120 MB, tabs) against Python's csv reader building a list of rows from the same
//   file (bench/peers/csv_reader.py);
// - ListViewToHTMLfile, ListViewToXMLfile and ListViewToASCII of 1,000,000 cells (31,250
//   rows of 32 columns: the delimited export counts rows in 16 bits; half size: 16
//   columns) against one fwrite of the same bytes.
// CPU time, the best of two rounds, each round in a process of its own (fresh_process.h);
// Python's time is its own process time of the reading. One JSON line a measurement
// (record.h), for bench/report.
//   zv_listview_files_bench [LINES]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "api/LstViewLib.h"
#include "child_process.h"
#include "cpu_time.h"
#include "frame/classes.h"
#include "fresh_process.h"
#include "record.h"
#include "runtime/convert.h"

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;
using zv::bench::timed;

constexpr int32_t kFields = 8;
constexpr int32_t kExportRows = 31250;
constexpr int32_t kExportColumns = 32;

// What a round uses per line imported or cell exported, touched before it starts.
constexpr size_t kBytesPerLine = 3200;
constexpr size_t kBytesPerCell = 512;

std::string scratch() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zv-lvbench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  return pattern;
}

// `lines` lines of kFields fields such as "r123456c3 text", tab-separated.
void writeInput(const std::string& path, int32_t lines) {
  std::ofstream out(path, std::ios::binary);
  std::string line;
  for (int32_t i = 1; i <= lines; ++i) {
    line.clear();
    for (int32_t f = 1; f <= kFields; ++f) {
      if (f > 1) line += '\t';
      line += "r" + std::to_string(i) + "c" + std::to_string(f) + " text";
    }
    line += "\r\n";
    out << line;
  }
}

double importSeconds(const std::string& path) {
  auto lib = zv::LstViewLib::create();
  ObjectRef view = zv::createModel(u"ListView");
  const String file = zv::fromUtf8(path);
  bool ok = false;
  const double t = timed([&] { ok = lib->LoadListViewFromASCII(file, view); });
  if (!ok) std::abort();
  return t;
}

// A list-view of kExportRows rows and `columns` columns, every cell filled.
ObjectRef exportView(int32_t columns) {
  ObjectRef view = zv::createModel(u"ListView");
  const ObjectRef headers = zv::toObject(zv::get(view, u"ColumnHeaders"));
  const ObjectRef rows = zv::toObject(zv::get(view, u"ListItems"));
  for (int32_t c = 1; c <= columns; ++c)
    zv::call(headers, u"Add",
             {Variant::missing(), Variant::missing(), Variant(u"Column " + zv::longToString(c))});
  for (int32_t i = 1; i <= kExportRows; ++i) {
    const ObjectRef row = zv::toObject(
        zv::call(rows, u"Add",
                 {Variant::missing(), Variant::missing(), Variant(u"row " + zv::longToString(i))}));
    for (int32_t k = 1; k < columns; ++k)
      zv::put(row, u"SubItems", Variant(u"cell " + zv::longToString(k)),
              {Variant(static_cast<int16_t>(k))});
  }
  return view;
}

using Export = std::function<bool(zv::LstViewLib&, ObjectRef&, const String&)>;

struct ExportTimes {
  double exported;  // the export
  double written;   // one fwrite of the bytes it wrote
};

ExportTimes exportSeconds(const Export& run, int32_t columns, const std::string& path) {
  auto lib = zv::LstViewLib::create();
  ObjectRef view = exportView(columns);
  const String file = zv::fromUtf8(path);
  bool ok = false;
  const double t = timed([&] { ok = run(*lib, view, file); });
  if (!ok) std::abort();
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string copy = path + ".fwrite";
  const double w = timed([&] {
    FILE* f = std::fopen(copy.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  });
  std::filesystem::remove(copy);
  return ExportTimes{t, w};
}

}  // namespace

int main(int argc, char** argv) {
  using zv::bench::bestOf;
  using zv::bench::emit;
  using zv::bench::plainCopySeconds;
  using zv::bench::Record;
  const int32_t lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string dir = scratch();

  for (int32_t count : {lines / 2, lines}) {
    const std::string path = dir + "/import" + std::to_string(count) + ".txt";
    writeInput(path, count);
    const double load = bestOf(2, [&] {
      return zv::bench::inFreshProcess(count * kBytesPerLine, [&] { return importSeconds(path); });
    });
    const double python = zv::bench::pythonPeerSeconds("csv_reader.py", {path, "2"});
    const size_t bytes = std::filesystem::file_size(path);
    emit(Record{"LstViewLib.LoadListViewFromASCII, 8 fields", "lines", count, double(bytes), load,
                "Python csv reader, list of rows", python, plainCopySeconds(bytes)});
    std::filesystem::remove(path);
  }

  const struct {
    const char* name;
    const char* file;
    Export run;
  } exports[] = {
      {"LstViewLib.ListViewToHTMLfile", "out.htm",
       [](zv::LstViewLib& lib, ObjectRef& view, const String& file) {
         String title, table, white = u"white", black = u"black", font = u"Verdana", image;
         bool no = false, header = true;
         int16_t none = 0;
         return lib.ListViewToHTMLfile(file, view, title, table, no, white, black, white, white,
                                       white, font, font, none, no, image, none, header);
       }},
      {"LstViewLib.ListViewToXMLfile", "out.xml",
       [](zv::LstViewLib& lib, ObjectRef& view, const String& file) {
         bool no = false;
         int16_t none = 0;
         return lib.ListViewToXMLfile(file, view, no, no, none);
       }},
      {"LstViewLib.ListViewToASCII", "out.txt",
       [](zv::LstViewLib& lib, ObjectRef& view, const String& file) {
         String tab = u"\t", empty;
         bool no = false;
         int16_t none = 0;
         return lib.ListViewToASCII(file, view, tab, empty, no, empty, empty, none, empty);
       }},
  };
  for (const auto& e : exports) {
    const std::string path = dir + "/" + e.file;
    ExportTimes times[2] = {{1e9, 1e9}, {1e9, 1e9}};
    size_t bytes[2] = {};
    for (int round = 0; round < 2; ++round) {
      for (int k = 0; k < 2; ++k) {
        const int32_t columns = kExportColumns / 2 << k;
        const ExportTimes t =
            zv::bench::inFreshProcess(size_t{kExportRows} * columns * kBytesPerCell,
                                      [&] { return exportSeconds(e.run, columns, path); });
        times[k] = {std::min(times[k].exported, t.exported), std::min(times[k].written, t.written)};
        bytes[k] = std::filesystem::file_size(path);
      }
    }
    for (int k = 0; k < 2; ++k)
      emit(Record{e.name, "cells", int64_t{kExportRows} * (kExportColumns / 2 << k),
                  double(bytes[k]), times[k].exported, "one fwrite of the bytes", times[k].written,
                  plainCopySeconds(bytes[k])});
  }
  std::filesystem::remove_all(dir);
  return 0;
}
