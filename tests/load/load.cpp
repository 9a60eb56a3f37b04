// The library from several threads at once (each with its own objects, files and registry
// key) while several processes write one registry key; built with ThreadSanitizer by run.sh.
//   zv_load [THREADS [ROUNDS [PROCESSES [WRITES]]]]
// Each thread repeats one round of work and writes down every result; the rounds of a
// thread must agree, and must equal the same round run alone afterwards. The writer
// processes (zv_load --writer ID WRITES) each store WRITES values, every one of which must
// be in the store at the end. Exit status 0 when all of that holds.
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "frame/classes.h"
#include "frame/file_numbers.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/format.h"
#include "runtime/vbdate.h"
#include "runtime/vblocale.h"

using zv::ObjectRef;
using zv::String;
using zv::Variant;

extern char** environ;

namespace {

const Variant kMissing = Variant::missing();
const char16_t kSharedKey[] = u"Software\\ZvLoad\\Shared";
const Variant kCurrentUser(int32_t{INT32_MIN + 1});

String u(const std::string& s) {
  return zv::fromUtf8(s);
}
ObjectRef make(const char16_t* progId) {
  return zv::createObject(String(u"ZivoviViruvov.") + progId);
}
ObjectRef model(const char16_t* name) {
  return zv::createModel(name);
}
ObjectRef child(const ObjectRef& o, const char16_t* name) {
  return zv::toObject(zv::get(o, name));
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// One round's results, one line each.
class Transcript {
 public:
  void add(const std::string& label, const Variant& value) {
    lines.push_back(label + "=" + zv::toUtf8(zv::toString(value)));
  }
  // A file by its length and FNV-1a hash: its exact bytes, compared between runs.
  void addFile(const std::string& label, const std::string& path) {
    const std::string bytes = fileBytes(path);
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : bytes)
      hash = (hash ^ c) * 1099511628211ull;
    lines.push_back(label + "=" + std::to_string(bytes.size()) + ":" + std::to_string(hash));
  }
  void check(const std::string& label, bool ok) {
    if (!ok) lines.push_back("FAILED " + label);
  }
  std::vector<std::string> lines;
};

void strings(Transcript& out, int t) {
  const ObjectRef s = make(u"StrChr");
  const String text = u"alpha|b" + zv::longToString(t) + u"|gamma|\u00c9l\u00e9phant  x";
  for (const char16_t* m : {u"GetLeft", u"GetLastRight", u"CountItem"})
    out.add(zv::toUtf8(m), zv::call(s, m, {Variant(text), Variant(u"|")}));
  for (const char16_t* m : {u"RemoveAccent", u"RemoveExtraSpaces", u"KeepOnlyNumeric"})
    out.add(zv::toUtf8(m), zv::call(s, m, {Variant(text)}));
  const ObjectRef coll = model(u"Collection");
  zv::call(s, u"ItemsToCollection", {Variant(u"x]|[y]|[z" + zv::longToString(t)), Variant(coll)});
  zv::call(coll, u"Add", {Variant(u"last"), Variant(u"K" + zv::longToString(t))});
  out.add("Collection",
          Variant(zv::toString(zv::get(coll, u"Count")) + u" " +
                  zv::toString(zv::call(coll, u"Item", {Variant(3)})) + u" " +
                  zv::toString(zv::call(coll, u"Item", {Variant(u"k" + zv::longToString(t))}))));
  const ObjectRef html = make(u"HTMlib");
  const String raw = u"<b>Caf\u00e9 & co</b> http://x.org/" + zv::longToString(t) + u" a@b.fr";
  out.add("TXTtoHTML", zv::call(html, u"ReplaceTXTcharToHTMLchar",
                                {Variant(raw), Variant(true), Variant(true), Variant(true)}));
  const ObjectRef rtf = make(u"RTFlib");
  out.add("TXTtoRTF", zv::call(rtf, u"ReplaceTXTcharToRTFchar", {Variant(raw)}));
  out.add("RTFtoHTML",
          zv::call(html, u"ReplaceRTFcharToHTMLchar",
                   {Variant(u"{\\rtf1 \\b Gras\\b0  \\'e9t\\'e9 " + zv::longToString(t) + u"}"),
                    Variant(true)}));
}

void numbersAndDates(Transcript& out, int t) {
  const double amount = 1234.5 + t;
  out.add("Format", Variant(zv::format(Variant(amount), u"#,##0.00;(#,##0.00)")));
  out.add("FormatCurrency", Variant(zv::formatCurrency(-amount)));
  const zv::Date day = *zv::makeDate(2020, 1 + t % 12, 28, 13, 5, 9);
  out.add("LongDate", Variant(zv::format(Variant(day), u"Long Date")));
  out.add("UserDate", Variant(zv::format(Variant(day), u"dddd d mmmm yyyy hh:nn:ss")));
  const auto french = zv::readLocaleSettings(1036);
  out.add("FrenchDate", Variant(zv::dateToLocaleString(day, french)));
  out.add("FrenchNumber", Variant(zv::format(Variant(amount), u"#,##0.00", french)));
  out.add("ReadDate", Variant(zv::toDate(Variant(u"12/25/20" + zv::longToString(10 + t)))));
  out.add("ReadNumber", Variant(zv::toDouble(Variant(u"1,234.5" + zv::longToString(t)))));
  const ObjectRef time = make(u"TimeLib");
  out.add("DateEquality",
          zv::call(time, u"DateEquality",
                   {Variant(u"01/02/2020"), Variant(u"02/01/2020"), Variant(u"dd/mm/yyyy")}));
  out.add("AddOrSubHour",
          zv::call(time, u"AddOrSubHour",
                   {Variant(u"10:20:30"), Variant(u"01:50:4" + zv::longToString(t % 10))}));
  out.add("SecToTime", zv::call(time, u"SecToTime", {Variant(int32_t{3661 + t})}));
  out.add("DayNameOfWeek", zv::call(time, u"DayNameOfWeek",
                                    {Variant(u"12/2" + zv::longToString(t % 10) + u"/2020")}));
  const ObjectRef money = make(u"MoneyLib");
  out.add("GetCurrencyFormat",
          zv::call(money, u"GetCurrencyFormat", {Variant(zv::Currency{12345678 + t})}));
  const ObjectRef system = make(u"SystemLib");
  for (int32_t lcid : {1033, 1036, 1031})
    out.add("LongDate" + std::to_string(lcid),
            zv::call(system, u"GetLocaleLongDate", {Variant(lcid)}));
}

// The thread's own state: its pending error and its file numbers, held while the other
// threads work.
void threadState(Transcript& out, const std::string& dir, int t) {
  zv::setPendingError(zv::Error(1000 + t, u"mine"));
  const int16_t first = zv::openFile(u(dir + "/held.txt"), zv::FileMode::Output);
  std::this_thread::yield();
  const int16_t second = zv::openFile(u(dir + "/held2.txt"), zv::FileMode::Output);
  out.check("file numbers", first == 1 && second == 2 && zv::openFileCount() == 2);
  zv::fileByNumber(first).writeLine(u"thread " + zv::longToString(t));
  zv::closeFile(second);
  zv::closeFile(first);
  out.check("pending error", zv::pendingError().number == 1000 + t);
  zv::clearPendingError();
}

void files(Transcript& out, const std::string& dir, int t) {
  const ObjectRef f = make(u"FileLib");
  const ObjectRef box = model(u"TextBox");
  String text;
  for (int i = 0; i < 20 + t; ++i)
    text += u"line " + zv::longToString(i) + u" \u00e9\r\n";
  zv::put(box, u"Text", Variant(text));
  const String name = u(dir + "/text.txt");
  out.add("SaveTextBoxContent", zv::call(f, u"SaveTextBoxContent", {Variant(name), Variant(box)}));
  out.addFile("text.txt", dir + "/text.txt");
  out.add("GetFileContent", zv::call(f, u"GetFileContent", {Variant(name)}));
  out.add("GetLineFile", zv::call(f, u"GetLineFile", {Variant(name), Variant(false)}));
  out.add("GetThisLineFile", zv::call(f, u"GetThisLineFile", {Variant(name), Variant(int32_t{7})}));
  out.add("GetLineIfTextExist",
          zv::call(f, u"GetLineIfTextExist",
                   {Variant(name), Variant(u"line 1" + zv::longToString(t % 10))}));
  const String copy = u(dir + "/copy.txt");
  out.add("CopyFile", zv::call(f, u"CopyFile", {Variant(name), Variant(copy), Variant(false)}));
  out.add("isFileExist", zv::call(f, u"isFileExist", {Variant(u(dir + "/*.txt"))}));
  out.add("DeleteFile", zv::call(f, u"DeleteFile", {Variant(copy)}));
  const String temp =
      zv::toString(zv::call(f, u"GetTempFileName", {Variant(u"zv"), Variant(u(dir))}));
  out.check("GetTempFileName", temp.rfind(u(dir + "/~zv"), 0) == 0);
  // A missing file: the method's neutral result, and no file number left taken.
  out.add("missing", zv::call(f, u"GetFileContent", {Variant(u(dir + "/none.txt"))}));
  out.check("no open file", zv::openFileCount() == 0);
}

void listView(Transcript& out, const std::string& dir, int t) {
  std::ofstream(dir + "/in.txt", std::ios::binary) << "Name;City;Amount\r\n";
  {
    std::ofstream in(dir + "/in.txt", std::ios::binary | std::ios::app);
    for (int i = 0; i < 30 + t; ++i)
      in << "name" << i << ";" << (i % 3 ? "Lyon" : "Caf\xe9") << ";" << i * (t + 1) << "\r\n";
  }
  const ObjectRef lib = make(u"LstViewLib");
  const ObjectRef view = model(u"ListView");
  out.add("LoadListViewFromASCII",
          zv::call(lib, u"LoadListViewFromASCII",
                   {Variant(u(dir + "/in.txt")), Variant(view), Variant(true), kMissing, kMissing,
                    kMissing, kMissing, Variant(u";")}));
  out.add("rows", zv::get(child(view, u"ListItems"), u"Count"));
  out.add("FindItemFromText", zv::call(lib, u"FindItemFromText",
                                       {Variant(view), Variant(u"name" + zv::longToString(t))}));
  out.add("CountStringFromColumn",
          zv::call(lib, u"CountStringFromColumn",
                   {Variant(view), Variant(u"LYON"), Variant(int16_t{1})}));
  out.add("isSwitchColumns", zv::call(lib, u"isSwitchColumnsAndHeaders",
                                      {Variant(view), Variant(int32_t{1}), Variant(int32_t{3})}));
  out.add("ListViewToASCII",
          zv::call(lib, u"ListViewToASCII",
                   {Variant(u(dir + "/out.txt")), Variant(view), Variant(u";")}));
  out.add("ListViewToHTMLfile",
          zv::call(lib, u"ListViewToHTMLfile", {Variant(u(dir + "/out.html")), Variant(view)}));
  out.add("ListViewToXMLfile",
          zv::call(lib, u"ListViewToXMLfile", {Variant(u(dir + "/out.xml")), Variant(view)}));
  for (const char* name : {"out.txt", "out.html", "out.xml"})
    out.addFile(name, dir + "/" + name);
}

void treeView(Transcript& out, const std::string& dir, int t) {
  const ObjectRef lib = make(u"TrViewLib");
  const ObjectRef tree = model(u"TreeView");
  const ObjectRef images = model(u"ImageList");
  for (const char16_t* key : {u"open", u"leaf"})
    zv::call(child(images, u"ListImages"), u"Add", {kMissing, Variant(key)});
  zv::putRef(tree, u"ImageList", images);
  const ObjectRef nodes = child(tree, u"Nodes");
  String parent;
  for (int i = 0; i < 10 + t; ++i) {
    const String label = u"node " + zv::longToString(i), icon = i % 2 ? u"open" : u"leaf";
    if (i % 4 == 0) {
      parent = u"r" + zv::longToString(i);
      zv::call(nodes, u"Add", {kMissing, kMissing, Variant(parent), Variant(label), Variant(icon)});
    } else {
      out.add("CreateChildNode",
              zv::call(lib, u"CreateChildNode",
                       {Variant(tree), Variant(parent), Variant(label), Variant(icon)}));
    }
  }
  out.add("SearchNodeFromText",
          zv::call(lib, u"SearchNodeFromText", {Variant(tree), Variant(u"node 4")}));
  out.add("FindNodeFromImage",
          zv::call(lib, u"FindNodeFromImage", {Variant(tree), Variant(u"open")}));
  // The thread's shared progress object moves this thread's bar only: to the node count.
  const ObjectRef bar = model(u"ProgressBar");
  zv::call(lib, u"SetProgressBar", {Variant(bar)});
  const String xml = u(dir + "/tree.xml");
  out.add("TreeViewToXMLfile",
          zv::call(lib, u"TreeViewToXMLfile", {Variant(tree), Variant(xml), Variant(u"App")}));
  out.add("bar", Variant(zv::toString(zv::get(bar, u"Max")) + u" " +
                         zv::toString(zv::get(bar, u"Value"))));
  out.addFile("tree.xml", dir + "/tree.xml");
  const ObjectRef back = model(u"TreeView");
  zv::putRef(back, u"ImageList", images);
  out.add("TreeViewFromXMLfile",
          zv::call(lib, u"TreeViewFromXMLfile", {Variant(back), Variant(xml), Variant(u"App")}));
  out.add("nodes", zv::get(child(back, u"Nodes"), u"Count"));
  const ObjectRef found = model(u"Collection");
  out.add("SearchNodeFromTextAndPushInColl",
          zv::call(lib, u"SearchNodeFromTextAndPushInColl",
                   {Variant(back), Variant(found), Variant(u"r0"), Variant(u"node")}));
  out.add("found", zv::get(found, u"Count"));
}

void registry(Transcript& out, int t, int round) {
  const ObjectRef reg = make(u"RegistryLib");
  const String key = u"Software\\ZvLoad\\T" + zv::longToString(t);
  for (int i = 0; i < 3; ++i) {
    const String name = u"v" + zv::longToString(round) + u"." + zv::longToString(i);
    zv::call(reg, u"WriteRegistryCurrentUser",
             {Variant(key), Variant(name), Variant(name + u" of " + key)});
    out.check("registry read",
              zv::toString(zv::call(reg, u"ReadRegistryCurrentUser",
                                    {Variant(key), Variant(name)})) == name + u" of " + key);
  }
  const Variant values = zv::call(reg, u"EnumerateRegistryValues", {Variant(key), kCurrentUser});
  out.check("registry values", values.isArray() && values.arrayValue().items.size() >= 3);
}

std::vector<std::string> round(const std::string& dir, int t, int r) {
  Transcript out;
  try {
    strings(out, t);
    numbersAndDates(out, t);
    threadState(out, dir, t);
    files(out, dir, t);
    listView(out, dir, t);
    treeView(out, dir, t);
    registry(out, t, r);
  } catch (const zv::Error& e) {
    out.lines.push_back("error " + std::to_string(e.number()) + " " + zv::toUtf8(e.description()));
  }
  return out.lines;
}

std::string tempFolder(const std::string& base) {
  std::string pattern = base + "/zv-load-XXXXXX";
  if (!::mkdtemp(pattern.data())) std::abort();
  return pattern;
}

// One writer process: `writes` values named after it in one key all writers share.
int writer(int id, int writes) {
  const ObjectRef reg = make(u"RegistryLib");
  for (int i = 0; i < writes; ++i) {
    const String name = u"p" + zv::longToString(id) + u"." + zv::longToString(i);
    zv::call(reg, u"WriteRegistryCurrentUser", {Variant(kSharedKey), Variant(name), Variant(name)});
    if (zv::toString(zv::call(reg, u"ReadRegistryCurrentUser",
                              {Variant(kSharedKey), Variant(name)})) != name)
      return 1;
  }
  return 0;
}

std::vector<pid_t> startWriters(const char* self, int processes, int writes) {
  std::vector<pid_t> pids;
  for (int id = 0; id < processes; ++id) {
    std::string ids = std::to_string(id), counts = std::to_string(writes);
    char* argv[] = {const_cast<char*>(self), const_cast<char*>("--writer"), ids.data(),
                    counts.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self, nullptr, nullptr, argv, environ) == 0) pids.push_back(pid);
  }
  return pids;
}

// Every value each writer wrote, and nothing else.
int checkWriters(const std::vector<pid_t>& pids, int processes, int writes) {
  int failures = static_cast<int>(processes - pids.size());
  for (pid_t pid : pids) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
  }
  std::set<String> expected, found;
  for (int id = 0; id < processes; ++id)
    for (int i = 0; i < writes; ++i)
      expected.insert(u"p" + zv::longToString(id) + u"." + zv::longToString(i));
  const ObjectRef reg = make(u"RegistryLib");
  const Variant values =
      zv::call(reg, u"EnumerateRegistryValues", {Variant(kSharedKey), kCurrentUser});
  if (values.isArray())
    for (const Variant& row : values.arrayValue().items) {
      const String name = zv::toString(row.isArray() ? row.arrayValue().items.at(0) : row);
      if (zv::toString(zv::call(reg, u"ReadRegistryCurrentUser",
                                {Variant(kSharedKey), Variant(name)})) == name)
        found.insert(name);
    }
  std::printf("registry: %d processes, %zu of %zu values found\n", processes, found.size(),
              expected.size());
  return failures + (found == expected ? 0 : 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--writer")
    return writer(std::atoi(argv[2]), std::atoi(argv[3]));
  const int threads = argc > 1 ? std::atoi(argv[1]) : 8;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  const int processes = argc > 3 ? std::atoi(argv[3]) : 4;
  const int writes = argc > 4 ? std::atoi(argv[4]) : 50;

  // A home and registry store of the run's own, set before any thread starts.
  const std::string base = tempFolder(std::filesystem::temp_directory_path().string());
  for (const char* v : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
    ::setenv(v, base.c_str(), 1);
  ::setenv("ZV_REGISTRY", (base + "/registry.db").c_str(), 1);

  const std::vector<pid_t> pids = startWriters("/proc/self/exe", processes, writes);
  std::vector<std::vector<std::string>> firsts(threads);
  std::vector<int> mismatches(threads, 0);
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t)
    pool.emplace_back([&, t] {
      const std::string dir = tempFolder(base);
      for (int r = 0; r < rounds; ++r) {
        auto lines = round(dir, t, r);
        if (r == 0)
          firsts[t] = std::move(lines);
        else if (lines != firsts[t])
          ++mismatches[t];
      }
    });
  for (auto& thread : pool)
    thread.join();

  int failures = checkWriters(pids, processes, writes);
  for (int t = 0; t < threads; ++t) {
    const auto alone = round(tempFolder(base), t, 0);
    for (size_t i = 0; i < std::max(alone.size(), firsts[t].size()); ++i) {
      const std::string a = i < alone.size() ? alone[i] : "",
                        b = i < firsts[t].size() ? firsts[t][i] : "";
      if (a != b || a.rfind("FAILED", 0) == 0 || a.rfind("error", 0) == 0) {
        std::printf("thread %d line %zu: alone '%s', in the crowd '%s'\n", t, i, a.c_str(),
                    b.c_str());
        ++failures;
      }
    }
    if (mismatches[t])
      std::printf("thread %d: %d rounds differ from its first\n", t, mismatches[t]);
    failures += mismatches[t];
  }
  std::printf("threads: %d x %d rounds of %zu results\n", threads, rounds,
              firsts.empty() ? 0 : firsts[0].size());
  std::filesystem::remove_all(base);
  return failures == 0 ? 0 : 1;
}
