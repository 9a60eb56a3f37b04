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

#include <cstdio>
#include <filesystem>
#include <fstream>
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
const Variant kCurrentUser(int32_t{INT32_MIN + 1});
const char16_t kSharedKey[] = u"Software\\ZvLoad\\Shared";

String u(const std::string& s) {
  return zv::fromUtf8(s);
}
String n(int64_t v) {
  return zv::longToString(v);
}
ObjectRef make(const char16_t* progId) {
  return zv::createObject(String(u"ZivoviViruvov.") + progId);
}
ObjectRef part(const ObjectRef& o, const char16_t* name) {
  return zv::toObject(zv::get(o, name));
}

// One round's results, one line each.
struct Transcript {
  void add(const std::string& label, const Variant& value) {
    lines.push_back(label + "=" + zv::toUtf8(zv::toString(value)));
  }
  // A member's result, labelled with its name.
  Variant call(const ObjectRef& o, const char16_t* member, zv::Args args) {
    Variant result = zv::call(o, member, std::move(args));
    add(zv::toUtf8(member), result);
    return result;
  }
  void file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    lines.push_back(path.substr(path.rfind('/')) + "=" +
                    std::string(std::istreambuf_iterator<char>(in), {}));
  }
  void check(const std::string& label, bool ok) {
    if (!ok) lines.push_back("FAILED " + label);
  }
  std::vector<std::string> lines;
};

void strings(Transcript& out, int t) {
  const ObjectRef s = make(u"StrChr");
  const Variant text(u"alpha|b" + n(t) + u"|gamma|\u00c9l\u00e9phant  x"), bar(u"|");
  for (const char16_t* m : {u"GetLeft", u"GetLastRight", u"CountItem"})
    out.call(s, m, {text, bar});
  for (const char16_t* m : {u"RemoveAccent", u"RemoveExtraSpaces", u"KeepOnlyNumeric"})
    out.call(s, m, {text});
  const ObjectRef coll = zv::createModel(u"Collection");
  out.call(s, u"ItemsToCollection", {Variant(u"x]|[y]|[z" + n(t)), Variant(coll)});
  zv::call(coll, u"Add", {Variant(u"last"), Variant(u"K" + n(t))});
  out.call(coll, u"Item", {Variant(3)});
  out.call(coll, u"Item", {Variant(u"k" + n(t))});
  out.add("Count", zv::get(coll, u"Count"));
  const ObjectRef html = make(u"HTMlib"), rtf = make(u"RTFlib");
  const Variant raw(u"<b>Caf\u00e9 & co</b> http://x.org/" + n(t) + u" a@b.fr"), yes(true);
  out.call(html, u"ReplaceTXTcharToHTMLchar", {raw, yes, yes, yes});
  out.call(rtf, u"ReplaceTXTcharToRTFchar", {raw});
  out.call(html, u"ReplaceRTFcharToHTMLchar",
           {Variant(u"{\\rtf1 \\b Gras\\b0  \\'e9t\\'e9 " + n(t) + u"}"), yes});
}

void numbersAndDates(Transcript& out, int t) {
  const Variant amount(1234.5 + t);
  const Variant day(*zv::makeDate(2020, 1 + t % 12, 28, 13, 5, 9));
  const auto french = zv::readLocaleSettings(1036);
  const String results[] = {
      zv::format(amount, u"#,##0.00;(#,##0.00)"),
      zv::formatCurrency(-1234.5 - t),
      zv::format(day, u"Long Date"),
      zv::format(day, u"dddd d mmmm yyyy hh:nn:ss"),
      zv::dateToLocaleString(day.dateValue(), french),
      zv::format(amount, u"#,##0.00", french),
      zv::toString(Variant(zv::toDate(Variant(u"12/25/20" + n(10 + t))))),
      zv::toString(Variant(zv::toDouble(Variant(u"1,234.5" + n(t))))),
  };
  for (const String& r : results)
    out.add("runtime", Variant(r));
  const ObjectRef time = make(u"TimeLib");
  out.call(time, u"DateEquality",
           {Variant(u"01/02/2020"), Variant(u"02/01/2020"), Variant(u"dd/mm/yyyy")});
  out.call(time, u"AddOrSubHour", {Variant(u"10:20:30"), Variant(u"01:50:4" + n(t % 10))});
  out.call(time, u"SecToTime", {Variant(int32_t{3661 + t})});
  out.call(time, u"DayNameOfWeek", {Variant(u"12/2" + n(t % 10) + u"/2020")});
  out.call(make(u"MoneyLib"), u"GetCurrencyFormat", {Variant(zv::Currency{12345678 + t})});
  const ObjectRef system = make(u"SystemLib");
  for (int32_t lcid : {1033, 1036, 1031})
    out.call(system, u"GetLocaleLongDate", {Variant(lcid)});
}

// The thread's own state: its pending error and its file numbers, held while the other
// threads work.
void threadState(Transcript& out, const std::string& dir, int t) {
  zv::setPendingError(zv::Error(1000 + t, u"mine"));
  const int16_t first = zv::openFile(u(dir + "/held.txt"), zv::FileMode::Output);
  std::this_thread::yield();
  const int16_t second = zv::openFile(u(dir + "/held2.txt"), zv::FileMode::Output);
  out.check("file numbers", first == 1 && second == 2 && zv::openFileCount() == 2);
  zv::fileByNumber(first).writeLine(u"thread " + n(t));
  zv::closeFile(second);
  zv::closeFile(first);
  out.check("pending error", zv::pendingError().number == 1000 + t);
  zv::clearPendingError();
}

void files(Transcript& out, const std::string& dir, int t) {
  const ObjectRef f = make(u"FileLib");
  const ObjectRef box = zv::createModel(u"TextBox");
  String text;
  for (int i = 0; i < 20 + t; ++i)
    text += u"line " + n(i) + u" \u00e9\r\n";
  zv::put(box, u"Text", Variant(text));
  const Variant name(u(dir + "/text.txt")), copy(u(dir + "/copy.txt"));
  out.call(f, u"SaveTextBoxContent", {name, Variant(box)});
  out.file(dir + "/text.txt");
  out.call(f, u"GetFileContent", {name});
  out.call(f, u"GetLineFile", {name, Variant(false)});
  out.call(f, u"GetThisLineFile", {name, Variant(int32_t{7})});
  out.call(f, u"GetLineIfTextExist", {name, Variant(u"line 1" + n(t % 10))});
  out.call(f, u"CopyFile", {name, copy, Variant(false)});
  out.call(f, u"isFileExist", {Variant(u(dir + "/*.txt"))});
  out.call(f, u"DeleteFile", {copy});
  const String temp =
      zv::toString(zv::call(f, u"GetTempFileName", {Variant(u"zv"), Variant(u(dir))}));
  out.check("GetTempFileName", temp.rfind(u(dir + "/~zv"), 0) == 0);
  // A missing file: the method's neutral result, and no file number left taken.
  out.call(f, u"GetFileContent", {Variant(u(dir + "/none.txt"))});
  out.check("no open file", zv::openFileCount() == 0);
}

void listView(Transcript& out, const std::string& dir, int t) {
  {
    std::ofstream in(dir + "/in.txt", std::ios::binary);
    in << "Name;City;Amount\r\n";
    for (int i = 0; i < 30 + t; ++i)
      in << "name" << i << ";" << (i % 3 ? "Lyon" : "Caf\xe9") << ";" << i * (t + 1) << "\r\n";
  }
  const ObjectRef lib = make(u"LstViewLib");
  const Variant view(zv::createModel(u"ListView"));
  out.call(lib, u"LoadListViewFromASCII",
           {Variant(u(dir + "/in.txt")), view, Variant(true), kMissing, kMissing, kMissing,
            kMissing, Variant(u";")});
  out.add("rows", zv::get(part(view.objectValue(), u"ListItems"), u"Count"));
  out.call(lib, u"FindItemFromText", {view, Variant(u"name" + n(t))});
  out.call(lib, u"CountStringFromColumn", {view, Variant(u"LYON"), Variant(int16_t{1})});
  out.call(lib, u"isSwitchColumnsAndHeaders", {view, Variant(int32_t{1}), Variant(int32_t{3})});
  out.call(lib, u"ListViewToASCII", {Variant(u(dir + "/out.txt")), view, Variant(u";")});
  out.call(lib, u"ListViewToHTMLfile", {Variant(u(dir + "/out.html")), view});
  out.call(lib, u"ListViewToXMLfile", {Variant(u(dir + "/out.xml")), view});
  for (const char* name : {"/out.txt", "/out.html", "/out.xml"})
    out.file(dir + name);
}

// A tree of 10 + t nodes; its XML export moves this thread's progress bar to that count.
void treeView(Transcript& out, const std::string& dir, int t) {
  const ObjectRef lib = make(u"TrViewLib");
  const ObjectRef images = zv::createModel(u"ImageList");
  for (const char16_t* key : {u"open", u"leaf"})
    zv::call(part(images, u"ListImages"), u"Add", {kMissing, Variant(key)});
  const ObjectRef tree = zv::createModel(u"TreeView"), back = zv::createModel(u"TreeView");
  zv::putRef(tree, u"ImageList", images);
  zv::putRef(back, u"ImageList", images);
  String parent;
  for (int i = 0; i < 10 + t; ++i) {
    const Variant label(u"node " + n(i)), icon(i % 2 ? u"open" : u"leaf");
    if (i % 4) {
      out.call(lib, u"CreateChildNode", {Variant(tree), Variant(parent), label, icon});
    } else {
      parent = u"r" + n(i);
      zv::call(part(tree, u"Nodes"), u"Add", {kMissing, kMissing, Variant(parent), label, icon});
    }
  }
  out.call(lib, u"SearchNodeFromText", {Variant(tree), Variant(u"node 4")});
  out.call(lib, u"FindNodeFromImage", {Variant(tree), Variant(u"open")});
  const ObjectRef bar = zv::createModel(u"ProgressBar");
  zv::call(lib, u"SetProgressBar", {Variant(bar)});
  const Variant xml(u(dir + "/tree.xml")), app(u"App");
  out.call(lib, u"TreeViewToXMLfile", {Variant(tree), xml, app});
  out.add("bar", Variant(zv::toString(zv::get(bar, u"Max")) + u" " +
                         zv::toString(zv::get(bar, u"Value"))));
  out.file(dir + "/tree.xml");
  out.call(lib, u"TreeViewFromXMLfile", {Variant(back), xml, app});
  out.add("nodes", zv::get(part(back, u"Nodes"), u"Count"));
  const ObjectRef found = zv::createModel(u"Collection");
  out.call(lib, u"SearchNodeFromTextAndPushInColl",
           {Variant(back), Variant(found), Variant(u"r0"), Variant(u"node")});
  out.add("found", zv::get(found, u"Count"));
}

// The thread's text files zipped, listed and unzipped again.
void archives(Transcript& out, const std::string& dir) {
  const ObjectRef zip = make(u"ZipLib"), unzip = make(u"UnZipLib");
  const Variant archive(u(dir + "/files.zip"));
  zv::put(zip, u"ZipFile", archive);
  zv::call(zip, u"AddFileSpec", {Variant(u(dir + "/*.txt"))});
  zv::call(zip, u"Zip");
  zv::put(unzip, u"ZipFile", archive);
  out.call(unzip, u"Directory", {});
  for (int32_t i = 1; i <= zv::toLong(zv::get(unzip, u"FileCount")); ++i)
    out.add("entry", Variant(zv::toString(zv::get(unzip, u"Filename", {Variant(i)})) + u" " +
                             zv::toString(zv::get(unzip, u"FileSize", {Variant(i)}))));
  zv::put(unzip, u"UnzipFolder", Variant(u(dir + "/unzipped")));
  out.call(unzip, u"Unzip", {});
  out.file(dir + "/unzipped/in.txt");
}

String readValue(const ObjectRef& reg, const Variant& key, const String& name) {
  return zv::toString(zv::call(reg, u"ReadRegistryCurrentUser", {key, Variant(name)}));
}

// Writes a value of the current user's and reads it back.
bool stores(const ObjectRef& reg, const Variant& key, const String& name, const String& data) {
  zv::call(reg, u"WriteRegistryCurrentUser", {key, Variant(name), Variant(data)});
  return readValue(reg, key, name) == data;
}

void registry(Transcript& out, int t, int round) {
  const ObjectRef reg = make(u"RegistryLib");
  const Variant key(u"Software\\ZvLoad\\T" + n(t));
  for (int i = 0; i < 2; ++i) {
    const String name = u"v" + n(round) + u"." + n(i);
    out.check("registry read", stores(reg, key, name, name + u" of " + key.stringValue()));
  }
  const Variant values = zv::call(reg, u"EnumerateRegistryValues", {key, kCurrentUser});
  out.check("registry values",
            values.isArray() && values.arrayValue().items.size() == size_t(2 * (round + 1)));
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
    archives(out, dir);
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

String writtenName(int id, int i) {
  return u"p" + n(id) + u"." + n(i);
}

// One writer process: `writes` values named after it, each holding its name, in the key all
// writers share.
int writer(int id, int writes) {
  const ObjectRef reg = make(u"RegistryLib");
  for (int i = 0; i < writes; ++i)
    if (!stores(reg, Variant(kSharedKey), writtenName(id, i), writtenName(id, i))) return 1;
  return 0;
}

std::vector<pid_t> startWriters(int processes, int writes) {
  char self[] = "/proc/self/exe", mode[] = "--writer";
  std::vector<pid_t> pids;
  for (int id = 0; id < processes; ++id) {
    std::string ids = std::to_string(id), counts = std::to_string(writes);
    char* argv[] = {self, mode, ids.data(), counts.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self, nullptr, nullptr, argv, environ) == 0) pids.push_back(pid);
  }
  return pids;
}

// Every value each writer wrote, with its data, and nothing else.
int checkWriters(const std::vector<pid_t>& pids, int processes, int writes) {
  int failures = processes - static_cast<int>(pids.size());
  for (pid_t pid : pids) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
  }
  const ObjectRef reg = make(u"RegistryLib");
  const Variant key(kSharedKey);
  const Variant values = zv::call(reg, u"EnumerateRegistryValues", {key, kCurrentUser});
  const size_t listed = values.isArray() ? values.arrayValue().items.size() : 0;
  size_t found = 0;
  for (int id = 0; id < processes; ++id)
    for (int i = 0; i < writes; ++i)
      found += readValue(reg, key, writtenName(id, i)) == writtenName(id, i);
  std::printf("registry: %d processes, %zu of %d values found, %zu listed\n", processes, found,
              processes * writes, listed);
  return failures + (found == listed && listed == size_t(processes * writes) ? 0 : 1);
}

// The lines where `alone` and `crowd` differ, and those that report a failure.
int compare(int t, const std::vector<std::string>& alone, const std::vector<std::string>& crowd) {
  int failures = 0;
  for (size_t i = 0; i < std::max(alone.size(), crowd.size()); ++i) {
    const std::string a = i < alone.size() ? alone[i] : "", c = i < crowd.size() ? crowd[i] : "";
    if (a == c && !a.starts_with("FAILED") && !a.starts_with("error")) continue;
    std::printf("thread %d line %zu: alone '%s', in the crowd '%s'\n", t, i, a.c_str(), c.c_str());
    ++failures;
  }
  return failures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--writer")
    return writer(std::atoi(argv[2]), std::atoi(argv[3]));
  const int threads = argc > 1 ? std::atoi(argv[1]) : 8;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 4;
  const int processes = argc > 3 ? std::atoi(argv[3]) : 4;
  const int writes = argc > 4 ? std::atoi(argv[4]) : 25;

  // A home and registry store of the run's own, set before any thread starts.
  const std::string base = tempFolder(std::filesystem::temp_directory_path().string());
  for (const char* v : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
    ::setenv(v, base.c_str(), 1);
  ::setenv("ZV_REGISTRY", (base + "/registry.db").c_str(), 1);

  const std::vector<pid_t> pids = startWriters(processes, writes);
  std::vector<std::vector<std::string>> firsts(threads);
  std::vector<int> differing(threads, 0);
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t)
    pool.emplace_back([&, t] {
      const std::string dir = tempFolder(base);
      firsts[t] = round(dir, t, 0);
      for (int r = 1; r < rounds; ++r)
        differing[t] += round(dir, t, r) != firsts[t];
    });
  for (auto& thread : pool)
    thread.join();

  int failures = checkWriters(pids, processes, writes);
  // Alone, on a fresh store: the keys fill up round by round as they did.
  ::setenv("ZV_REGISTRY", (base + "/alone.db").c_str(), 1);
  for (int t = 0; t < threads; ++t) {
    failures += compare(t, round(tempFolder(base), t, 0), firsts[t]) + differing[t];
    if (differing[t]) std::printf("thread %d: %d rounds differ from its first\n", t, differing[t]);
  }
  std::printf("threads: %d x %d rounds of %zu results\n", threads, rounds,
              firsts.empty() ? 0 : firsts[0].size());
  std::filesystem::remove_all(base);
  return failures == 0 ? 0 : 1;
}
