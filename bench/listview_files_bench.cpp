// The list-view's files on the list-view model, against peers measured in the same run:
// - LoadListViewFromASCII of a generated 1,000,000-line, 8-field file (about 80 MB, tabs)
//   against Python's csv reader building a list of rows from the same file (goal: at least
//   as fast, ratio <= 1);
// - ListViewToHTMLfile, ListViewToXMLfile and ListViewToASCII of 1,000,000 cells (31,250
//   rows of 32 columns: the delimited export counts rows in 16 bits) against one fwrite of
//   the same bytes (goal: ratio <= 3);
// - the doubling check: each operation at N and 2N (lines, or columns), the best of two
//   rounds (goal: at most 2.2).
// CPU time, each round in a process of its own (fresh_process.h); Python's time is its own
// process time, read from its output.
// Exits 1 when a goal is missed. Not a test: timings belong to no test suite.
//   zv_listview_files_bench [LINES]   (LINES defaults to 1,000,000)
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "api/LstViewLib.h"
#include "cpu_time.h"
#include "frame/classes.h"
#include "fresh_process.h"
#include "runtime/convert.h"

namespace {

using zv::ObjectRef;
using zv::String;
using zv::Variant;
using zv::bench::cpuSeconds;

constexpr int32_t kFields = 8;
constexpr int32_t kExportRows = 31250;
constexpr int32_t kExportColumns = 32;
constexpr double kMaxDoubling = 2.2;

double timed(const std::function<void()>& work) {
  const double start = cpuSeconds();
  work();
  return cpuSeconds() - start;
}

// What a round uses per line imported or cell exported, touched before it starts.
constexpr size_t kBytesPerLine = 3200;
constexpr size_t kBytesPerCell = 512;

double bestOf2(const std::function<double()>& round) {
  const double a = round();
  return std::min(a, round());
}

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

double pythonSeconds(const std::string& path) {
  const std::string command =
      "python3 -c \"import csv, sys, time\n"
      "t = time.process_time()\n"
      "with open(sys.argv[1], newline='', encoding='cp1252') as f:\n"
      "    rows = list(csv.reader(f, delimiter='\\t'))\n"
      "print(time.process_time() - t, len(rows))\" " +
      path;
  FILE* p = popen(command.c_str(), "r");
  double seconds = 0;
  long rows = 0;
  if (!p || std::fscanf(p, "%lf %ld", &seconds, &rows) != 2) std::abort();
  pclose(p);
  return seconds;
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
  const int32_t lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const std::string dir = scratch();
  const std::string big = dir + "/big.txt", half = dir + "/half.txt";
  writeInput(big, lines);
  writeInput(half, lines / 2);
  bool ok = true;

  auto importRound = [&](const std::string& path, int32_t count) {
    return zv::bench::inFreshProcess(count * kBytesPerLine, [&] { return importSeconds(path); });
  };
  const double load = bestOf2([&] { return importRound(big, lines); });
  const double python = bestOf2([&] { return pythonSeconds(big); });
  const double loadHalf = bestOf2([&] { return importRound(half, lines / 2); });
  std::printf("%d lines x %d fields (%.1f MB), CPU seconds\n", lines, kFields,
              double(std::filesystem::file_size(big)) / 1e6);
  std::printf("%-30s %9s %9s %9s %9s\n", "operation", "seconds", "peer", "ratio", "doubled");
  const double loadRatio = load / python;
  std::printf("%-30s %9.3f %9.3f %9.2f %9.2f   (peer: Python csv, goal ratio <= 1)\n",
              "LoadListViewFromASCII", load, python, loadRatio, load / loadHalf);
  ok = ok && loadRatio <= 1 && load / loadHalf <= kMaxDoubling;

  const struct {
    const char* name;
    const char* file;
    Export run;
  } exports[] = {
      {"ListViewToHTMLfile", "out.htm",
       [](zv::LstViewLib& lib, ObjectRef& view, const String& file) {
         String title, table, white = u"white", black = u"black", font = u"Verdana", image;
         bool no = false, header = true;
         int16_t none = 0;
         return lib.ListViewToHTMLfile(file, view, title, table, no, white, black, white, white,
                                       white, font, font, none, no, image, none, header);
       }},
      {"ListViewToXMLfile", "out.xml",
       [](zv::LstViewLib& lib, ObjectRef& view, const String& file) {
         bool no = false;
         int16_t none = 0;
         return lib.ListViewToXMLfile(file, view, no, no, none);
       }},
      {"ListViewToASCII", "out.txt",
       [](zv::LstViewLib& lib, ObjectRef& view, const String& file) {
         String tab = u"\t", empty;
         bool no = false;
         int16_t none = 0;
         return lib.ListViewToASCII(file, view, tab, empty, no, empty, empty, none, empty);
       }},
  };
  for (const auto& e : exports) {
    const std::string path = dir + "/" + e.file;
    ExportTimes once{1e9, 1e9}, twice{1e9, 1e9};
    for (int round = 0; round < 2; ++round) {
      auto exportRound = [&](int32_t columns) {
        return zv::bench::inFreshProcess(size_t{kExportRows} * columns * kBytesPerCell,
                                         [&] { return exportSeconds(e.run, columns, path); });
      };
      const auto a = exportRound(kExportColumns);
      const auto b = exportRound(2 * kExportColumns);
      once = {std::min(once.exported, a.exported), std::min(once.written, a.written)};
      twice = {std::min(twice.exported, b.exported), std::min(twice.written, b.written)};
    }
    const double ratio = once.exported / once.written;
    std::printf("%-30s %9.3f %9.3f %9.2f %9.2f   (peer: one fwrite, goal ratio <= 3)\n", e.name,
                once.exported, once.written, ratio, twice.exported / once.exported);
    ok = ok && ratio <= 3 && twice.exported / once.exported <= kMaxDoubling;
  }
  std::filesystem::remove_all(dir);
  return ok ? 0 : 1;
}
