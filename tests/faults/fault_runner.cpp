// Fails each open, write, close, rename and fsync that a file-touching method makes, one at
// a time, and checks after each: the method gives its neutral result with its report (or,
// when the failure did not matter, its full result), no descriptor stays open, no scratch
// file is left, and the file or registry value it writes is the old one or the new one,
// never a part. Then sets the clocks to wrapped and far values for the time methods.
#include <stdlib.h>
#include <time.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "frame/classes.h"
#include "frame/report_listener.h"
#include "interposer.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/object.h"

namespace fs = std::filesystem;
using zv::ObjectRef;
using zv::String;
using zv::Variant;

namespace {

// The files every run starts with; "good.txt" stands for a file a method replaces.
const std::map<std::string, std::string> kFiles = {
    {"good.txt", "old line\r\n"},
    {"lines.txt", "alpha\r\nbeta\r\ngamma\r\n"},
    {"in.rtf", "{\\rtf1 Hello \\b bold\\b0\\par}\r\n"},
    {"in.csv", "a\tb\r\nc\td\r\n"},
};
std::map<std::string, std::string> gMade;  // files made once, before the faults start
// The time of every starting file, so that archives of them are the same bytes in every run.
const fs::file_time_type kStarted = fs::file_time_type::clock::now();

// Lists hold their items with "|" between them.
struct Case {
  const char* method;  // "Class.Method"
  // "{d}" is the run's folder; "@list", "@lists", "@tree", "@box" are fresh controls,
  // "#n" a Long, "!T"/"!F" a Boolean.
  const char* args;
  const char* neutral;  // "False|True" when either may come
  const char* reports;  // the last report a failure may give; none: the method reports nothing
  // What must read as before or as after a successful call: a file of the folder ("?"
  // after it: or absent), "reg" for the registry value the cases write, "" for nothing
  // (appends).
  const char* state;
  // Properties set ("=Name") and methods called first, each followed by its argument.
  const char* prepare = "";
};

#define OPENING "Error on file opening:\r\n{d}/good.txt|"
#define UNABLE "Unable to open file:\r\n{d}/lines.txt"
const Case kCases[] = {
    {"FileLib.SaveTextBoxContent", "{d}/good.txt|@box", "False",
     "Unable to open the file:\r\n{d}/good.txt|Unable on file writing:\r\n{d}/good.txt",
     "good.txt"},
    // Deletes an existing target before it copies, so a failure may leave none.
    {"FileLib.CopyFile", "{d}/lines.txt|{d}/good.txt|!F", "False", "", "good.txt?"},
    {"FileLib.CopyFileWithNewSuffix", "{d}/in.rtf|.txt||!F", "False", "", "in.txt"},
    {"FileLib.GetFileContent", "{d}/lines.txt", "", UNABLE, ""},
    {"FileLib.GetLineFile", "{d}/lines.txt|!F", "", UNABLE, ""},
    {"FileLib.GetThisLineFile", "{d}/lines.txt|#2", "", UNABLE, ""},
    {"FileLib.PutInTextBox", "{d}/lines.txt|@box", "False",
     "Unable to open the file:\r\n{d}/lines.txt", ""},
    {"HTMlib.WriteHeaderHTML", "{d}/good.txt|Title", "False",
     OPENING "Error on header HTML file writing:\r\n{d}/good.txt", "good.txt"},
    {"HTMlib.RTFfileToHTMLfile", "{d}/in.rtf|{d}/good.txt", "False",
     "Unable to open the file:\r\n{d}/in.rtf|Unable to create the file:\r\n{d}/good.txt|"
     "Error on file conversion process:\r\n{d}/in.rtf",
     "good.txt"},
    {"LstViewLib.ListViewToASCII", "{d}/good.txt|@list", "False",
     OPENING "Error on ListView Object To ASCII file", "good.txt"},
    {"LstViewLib.SeveralListViewToASCII", "@lists|{d}/good.txt", "False",
     OPENING "Error on Several ListView Object To ASCII file", "good.txt"},
    {"LstViewLib.ListViewToXMLfile", "{d}/good.txt|@list", "False",
     OPENING "Error on ListView Object to XML file", "good.txt"},
    {"LstViewLib.SeveralListViewToXMLfile", "@lists|{d}/good.txt", "False",
     OPENING "Error on Several ListView Object to XML file", "good.txt"},
    // True once the page head is written, whatever the appends did.
    {"LstViewLib.ListViewToHTMLfile", "{d}/good.txt|@list", "False|True",
     OPENING "Error on header HTML file writing:\r\n{d}/good.txt|Error on ListView to HTML file",
     ""},
    {"LstViewLib.AppendListViewToHTML", "{d}/good.txt|@list", "False",
     "Error on append the file:\r\n{d}/good.txt|Error on list export to HTML 3/3", ""},
    {"LstViewLib.LoadListViewFromASCII", "{d}/in.csv|@list", "False",
     "Can't open file:\r\n{d}/in.csv", ""},
    {"TrViewLib.TreeViewToXMLfile", "@tree|{d}/good.txt|App", "False",
     "Error on Tree To XML\r\nApp", "good.txt"},
    {"TrViewLib.SubTreeToXMLfile", "@tree|r|{d}/good.txt", "False",
     OPENING "Error on SubTreeView Object To XML", "good.txt"},
    {"TrViewLib.TreeViewFromXMLfile", "@tree|{d}/tree.xml|App", "False", "", ""},
    {"ZipLib.Zip", "", "Empty", "", "good.zip", "=ZipFile|{d}/good.zip|AddFileSpec|{d}/lines.txt"},
    {"RegistryLib.WriteRegistryCurrentUser", "Software\\ZvFaults|Name|new", "Empty", "", "reg"},
    {"RegistryLib.ReadRegistryCurrentUser", "Software\\ZvFaults|Name", "", "", "reg"},
    {"RegistryLib.DeleteValueKeyMachine", "Software\\ZvFaults|Name", "False", "", ""},
};
#undef OPENING
#undef UNABLE

// The files the cases start from that the library makes itself.
const Case kMade[] = {
    {"TrViewLib.TreeViewToXMLfile", "@tree|{d}/tree.xml|App", "", "", "tree.xml"},
    {"ZipLib.Zip", "", "", "", "good.zip", "=ZipFile|{d}/good.zip|AddFileSpec|{d}/in.csv"},
};

constexpr int kMaxCallsPerKind = 60;
const char* const kKindNames[] = {"open", "write", "close", "rename", "fsync"};
const int kErrors[] = {EIO, ENOSPC, ENOSPC, EIO, EIO};

std::vector<std::string> split(const std::string& list) {
  std::vector<std::string> items;
  for (size_t at = 0; !list.empty() && at <= list.size();) {
    const size_t end = std::min(list.find('|', at), list.size());
    items.push_back(list.substr(at, end - at));
    at = end + 1;
  }
  return items;
}

bool isOneOf(const std::string& text, const std::string& list) {
  return ("|" + list + "|").find("|" + text + "|") != std::string::npos;
}

String replaceAll(String text, const String& from, const String& to) {
  for (size_t at = 0; (at = text.find(from, at)) != String::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<absent>";
}

std::set<std::string> listing(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.insert(entry.path().filename().string());
  return names;
}

ObjectRef sampleList() {
  ObjectRef view = zv::createModel(u"ListView");
  const ObjectRef headers = zv::toObject(zv::get(view, u"ColumnHeaders"));
  const ObjectRef rows = zv::toObject(zv::get(view, u"ListItems"));
  for (const char16_t* caption : {u"Name", u"Town"})
    zv::call(headers, u"Add", {Variant::missing(), Variant::missing(), Variant(caption)});
  for (const char16_t* text : {u"Ann", u"Bob"}) {
    const ObjectRef row = zv::toObject(
        zv::call(rows, u"Add", {Variant::missing(), Variant::missing(), Variant(text)}));
    zv::put(row, u"SubItems", Variant(u"Lyon"), {Variant(int16_t{1})});
  }
  return view;
}

Variant argument(const std::string& text, const String& dir) {
  if (text == "@list") return sampleList();
  if (text == "@tree") {
    ObjectRef tree = zv::createModel(u"TreeView");
    const ObjectRef nodes = zv::toObject(zv::get(tree, u"Nodes"));
    zv::call(nodes, u"Add",
             {Variant::missing(), Variant::missing(), Variant(u"r"), Variant(u"Root")});
    zv::call(nodes, u"Add", {Variant(u"r"), Variant(int32_t{4}), Variant(u"c"), Variant(u"Child")});
    return tree;
  }
  if (text == "@box") {
    ObjectRef box = zv::createModel(u"TextBox");
    zv::put(box, u"Text", Variant(u"one\ntwo"));
    return box;
  }
  if (text == "@lists") {
    ObjectRef lists = zv::createModel(u"Collection");
    zv::call(lists, u"Add", {Variant(sampleList())});
    return lists;
  }
  if (text[0] == '#') return Variant(static_cast<int32_t>(std::stol(text.substr(1))));
  if (text[0] == '!') return Variant(text[1] == 'T');
  return replaceAll(zv::fromUtf8(text), u"{d}", dir);
}

// A method's result as the checks compare it: its text, "Empty" or "error N".
std::string resultOf(const ObjectRef& object, const std::string& method, zv::Args& args) {
  try {
    const Variant v = object->invoke(zv::fromUtf8(method), zv::kMethod, args);
    return v.isEmpty() ? "Empty" : zv::toUtf8(zv::toString(v));
  } catch (const zv::Error& e) {
    return "error " + std::to_string(e.number());
  }
}

Variant registry(const char16_t* method, std::vector<Variant> more = {}) {
  zv::Args args{Variant(u"Software\\ZvFaults"), Variant(u"Name")};
  for (Variant& v : more)
    args.emplace_back(std::move(v));
  return zv::createObject(u"ZivoviViruvov.RegistryLib")->invoke(method, zv::kMethod, args);
}

// A fresh folder with the starting files, and a registry store with the old value.
class Folder {
 public:
  explicit Folder(const Case& c) {
    std::string pattern = (fs::temp_directory_path() / "zv-faults-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    for (const auto& files : {kFiles, gMade})
      for (const auto& [name, bytes] : files) {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        fs::last_write_time(path_ / name, kStarted);
      }
    ::setenv("ZV_REGISTRY", (path_ / "registry.db").c_str(), 1);
    if (std::string(c.method).starts_with("Registry")) {
      registry(u"WriteRegistryCurrentUser", {Variant(u"old")});
      registry(u"WriteRegistryMachine", {Variant(u"old")});
    }
  }
  ~Folder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

  std::string state(const Case& c) const {
    std::string name = c.state;
    if (name == "reg") return zv::toUtf8(zv::toString(registry(u"ReadRegistryCurrentUser")));
    if (name.ends_with('?')) name.pop_back();
    return name.empty() ? std::string() : readFile(path_ / name);
  }

 private:
  fs::path path_;
};

// One run of a case in a fresh folder; the outcome as the checks compare it.
struct Outcome {
  std::string result;
  std::vector<std::string> reports;
  std::string state;
  std::set<std::string> files;
  bool leakedDescriptor = false;
};

auto openDescriptors() {
  return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

Outcome run(const Case& c, faults::Kind kind, int failAt) {
  Folder folder(c);
  const String dir = zv::fromUtf8(folder.path().string());
  const std::string method = c.method;
  const size_t dot = method.find('.');
  const ObjectRef object =
      zv::createObject(u"ZivoviViruvov." + zv::fromUtf8(method.substr(0, dot)));
  const std::vector<std::string> prepare = split(c.prepare);
  for (size_t i = 0; i + 1 < prepare.size(); i += 2) {
    zv::Args one{argument(prepare[i + 1], dir)};
    const bool let = prepare[i][0] == '=';
    object->invoke(zv::fromUtf8(prepare[i].substr(let)), let ? zv::kPropertyPut : zv::kMethod, one);
  }
  zv::Args args;
  for (const std::string& text : split(c.args))
    args.emplace_back(argument(text, dir));
  Outcome out;
  const auto previous = zv::setReportListener([&](const String& message, bool) {
    out.reports.push_back(zv::toUtf8(replaceAll(message, dir, u"{d}")));
  });
  const auto descriptors = openDescriptors();
  faults::Plan& plan = faults::plan();
  plan = {true, kind, failAt, kErrors[kind]};
  out.result = resultOf(object, method.substr(dot + 1), args);
  plan.armed = false;
  out.leakedDescriptor = openDescriptors() != descriptors;
  zv::setReportListener(previous);
  out.state = folder.state(c);
  out.files = listing(folder.path());
  return out;
}

// Why a faulted run is wrong, or "" when it is right.
std::string judge(const Case& c, const Outcome& clean, const Outcome& before, const Outcome& got) {
  if (got.leakedDescriptor) return "a descriptor left open";
  // SQLite's own companions of the store are no leftovers: it reuses them.
  for (const std::string& name : got.files)
    if (!clean.files.count(name) && !before.files.count(name) && !name.ends_with("-shm") &&
        !name.ends_with("-wal"))
      return "left " + name;
  const bool mayVanish = std::string(c.state).ends_with('?') && got.state == "<absent>";
  if (got.state != before.state && got.state != clean.state && !mayVanish)
    return "half-written: " + got.state;
  // A failure the method recovered from (a retried open, a read already done).
  if (got.result == clean.result && got.state == clean.state) return "";
  if (!isOneOf(got.result, c.neutral)) return "result " + got.result;
  if (got.reports.empty()) return *c.reports ? "no report" : "";
  return isOneOf(got.reports.back(), c.reports) ? "" : "report " + got.reports.back();
}

int faultLoop() {
  int failures = 0, runs = 0;
  for (const Case& c : kCases) {
    const Outcome clean = run(c, faults::kOpen, 0);
    const faults::Plan counted = faults::plan();
    // "Before": the state a run starts from, read without calling the method.
    Outcome before;
    {
      const Folder folder(c);
      before.files = listing(folder.path());
      before.state = folder.state(c);
    }
    std::printf("%-40s %-6s", c.method, clean.result.c_str());
    for (int k = 0; k < faults::kKinds; ++k) {
      const int n = std::min(counted.calls[k], kMaxCallsPerKind);
      std::printf(" %s:%d", kKindNames[k], n);
      for (int i = 1; i <= n; ++i, ++runs) {
        const std::string why = judge(c, clean, before, run(c, static_cast<faults::Kind>(k), i));
        if (why.empty()) continue;
        ++failures;
        std::printf("\n  FAIL %s #%d: %s", kKindNames[k], i, why.c_str());
      }
    }
    std::printf("\n");
  }
  std::printf("%d faulted runs, %d wrong\n", runs, failures);
  return failures;
}

// The clocks a system can show: a tick count wrapped at 2^32 or past 2^31, one that went
// back, a wall clock before 1970 or past 2038.
int clockCases() {
  struct ClockCase {
    const char* method;
    const char* argument;  // the format for DateOfCurrentDay, else none
    uint64_t startTick, tick;
    int64_t wall;
    const char* expected;
  };
  const ClockCase cases[] = {
      {"HowManyTimeWindowsRun", nullptr, 0, 0xFFFFFFFFull, 0, "00:00:0"},
      {"HowManyTimeWindowsRun", nullptr, 0, 0x80000000ull, 0, "00:00:-2147484"},
      {"HowManyTimeWindowsRun", nullptr, 0, 0x100000000ull + 61000, 0, "1:1"},
      {"HowManyTimeIsRun", nullptr, 0xFFFFFFFFull - 999, 0x100000000ull + 61000, 0, "1:2"},
      {"HowManyTimeIsRun", nullptr, 5000, 1000, 0, "00:00:-4"},
      {"HowManyTimeIsRun", nullptr, 0x7FFFFFFFull, 0x80000000ull, 0, "error 6"},
      {"DateOfCurrentDay", "yyyy-mm-dd", 0, 0, 0x80000000ll, "2038-01-19"},
      {"GetHourMinuteSecond", nullptr, 0, 0, 0x80000000ll, "03:14:08"},
      {"DateOfCurrentDay", "yyyy-mm-dd", 0, 0, -1, "1969-12-31"},
      {"GetHourMinuteSecond", nullptr, 0, 0, -1, "23:59:59"},
      {"DateOfCurrentDay", "yyyy-mm-dd", 0, 0, 253402300799ll, "9999-12-31"},
  };
  int failures = 0;
  faults::Plan& plan = faults::plan();
  for (const ClockCase& c : cases) {
    plan = {.clockSet = true, .monotonicMs = c.startTick, .wallSeconds = c.wall};
    const ObjectRef timeLib = zv::createObject(u"ZivoviViruvov.TimeLib");
    plan.monotonicMs = c.tick;
    zv::Args args;
    if (c.argument) args.emplace_back(Variant(zv::fromUtf8(c.argument)));
    const std::string got = resultOf(timeLib, c.method, args);
    if (got == c.expected) continue;
    ++failures;
    std::printf("FAIL %s at tick %llu, wall %lld: %s, not %s\n", c.method,
                static_cast<unsigned long long>(c.tick), static_cast<long long>(c.wall),
                got.c_str(), c.expected);
  }
  plan = {};
  std::printf("%zu clock cases, %d wrong\n", std::size(cases), failures);
  return failures;
}

}  // namespace

int main() {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  const auto start = std::chrono::steady_clock::now();
  for (const Case& made : kMade)
    gMade[made.state] = run(made, faults::kOpen, 0).state;
  const int failures = faultLoop() + clockCases();
  std::printf("%.1f s\n",
              std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return failures == 0 ? 0 : 1;
}
