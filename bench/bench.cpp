// Throughput of the text conversions, each against a plain copy of the same input.
//
// Each conversion is paired with a "copy/..." case over the same bytes, run just before it;
// the console reporter adds the counter x_copy = conversion CPU time / copy CPU time (CPU
// time: a busy machine disturbs it less than wall time). Sizes are the bytes of the input as
// held: UTF-16 strings in memory, the RTF file on disk.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "api/HTMlib.h"
#include "api/StrChr.h"
#include "inputs.h"
#include "runtime/errors.h"

namespace {

using namespace zv::bench;
using zv::String;

constexpr size_t kTextBytes = 10 * kMiB;
constexpr size_t kRtfBytes = 5 * kMiB;
// Links and addresses lie in the first 8192 characters of a single-call text: with detection
// on, one beyond position 32767 fails with error 6.
constexpr size_t kLinkChars = 8192;
constexpr size_t kCallChars = 8192;  // 16 KiB per call when the text goes in pieces

const String& text() {
  static const String s = mixedText(charsIn(kTextBytes), kLinkChars);
  return s;
}
const String& textLinksEverywhere() {
  static const String s = mixedText(charsIn(kTextBytes), SIZE_MAX, 3);
  return s;
}
const String& rtfText() {
  static const String s = widen(rtfDocument(charsIn(kRtfBytes)));
  return s;
}

TempDir& tempDir() {
  static TempDir dir;
  return dir;
}
const std::filesystem::path& rtfFile() {
  static const std::filesystem::path path = [] {
    std::filesystem::path p = tempDir().path() / "input.rtf";
    if (!writeFile(p, rtfDocument(kRtfBytes))) std::abort();
    return p;
  }();
  return path;
}

// Conversion name -> its copy baseline's name.
std::map<std::string, std::string>& baselines() {
  static std::map<std::string, std::string> map;
  return map;
}

void add(const std::string& name, const std::string& baseline,
         std::function<void(benchmark::State&)> fn) {
  if (!baseline.empty()) baselines()[name] = baseline;
  benchmark::RegisterBenchmark(name.c_str(), [fn](benchmark::State& state) {
    fn(state);
  })->Unit(benchmark::kMillisecond);
}

// Runs `call` once before timing: a library error skips the case with its description.
template <typename Call>
bool probe(benchmark::State& state, Call call) {
  try {
    call();
    return true;
  } catch (const zv::Error& e) {
    state.SkipWithError(
        e.number() == zv::err::kNotSupported
            ? "not built"
            : ("error " + std::to_string(e.number()) + ": " + zv::toUtf8(e.description())).c_str());
    return false;
  }
}

void copyString(benchmark::State& state, const String& input) {
  for (auto _ : state) {
    String copy(input);
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size() * 2));
}

void registerAll() {
  auto html = zv::HTMlib::create();
  auto strchr = zv::StrChr::create();

  add("copy/text_10MiB", "", [](benchmark::State& state) { copyString(state, text()); });

  add("HTMlib.ReplaceTXTcharToHTMLchar/all_flags/10MiB", "copy/text_10MiB",
      [html](benchmark::State& state) {
        const String& input = text();
        auto call = [&] { return html->ReplaceTXTcharToHTMLchar(input, true, true, true); };
        if (!probe(state, call)) return;
        for (auto _ : state)
          benchmark::DoNotOptimize(call());
        state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size() * 2));
      });

  add("HTMlib.ReplaceTXTcharToHTMLchar/all_flags/10MiB_in_16KiB_calls", "copy/text_10MiB",
      [html](benchmark::State& state) {
        const String& input = textLinksEverywhere();
        auto call = [&] {
          size_t produced = 0;
          for (size_t at = 0; at < input.size(); at += kCallChars)
            produced +=
                html->ReplaceTXTcharToHTMLchar(input.substr(at, kCallChars), true, true, true)
                    .size();
          return produced;
        };
        if (!probe(state, call)) return;
        for (auto _ : state)
          benchmark::DoNotOptimize(call());
        state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size() * 2));
      });

  add("StrChr.RemoveAccent/10MiB", "copy/text_10MiB", [strchr](benchmark::State& state) {
    const String& input = text();
    auto call = [&] { return strchr->RemoveAccent(input); };
    if (!probe(state, call)) return;
    for (auto _ : state)
      benchmark::DoNotOptimize(call());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size() * 2));
  });

  add("copy/rtf_5MiB", "", [](benchmark::State& state) { copyString(state, rtfText()); });

  add("HTMlib.ReplaceRTFcharToHTMLchar/header_html_chars/5MiB", "copy/rtf_5MiB",
      [html](benchmark::State& state) {
        const String& input = rtfText();
        auto call = [&] { return html->ReplaceRTFcharToHTMLchar(input, true, true); };
        if (!probe(state, call)) return;
        for (auto _ : state)
          benchmark::DoNotOptimize(call());
        state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(input.size() * 2));
      });

  add("copy/rtf_file_5MiB", "", [](benchmark::State& state) {
    const std::filesystem::path out = tempDir().path() / "copy.rtf";
    for (auto _ : state) {
      if (!writeFile(out, readFile(rtfFile()))) {
        state.SkipWithError("cannot copy the file");
        break;
      }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kRtfBytes));
  });

  add("HTMlib.RTFfileToHTMLfile/5MiB", "copy/rtf_file_5MiB", [html](benchmark::State& state) {
    const String in = zv::fromUtf8(rtfFile().string());
    const String out = zv::fromUtf8((tempDir().path() / "output.html").string());
    auto call = [&] { return html->RTFfileToHTMLfile(in, out, true); };
    if (!probe(state, call)) return;
    for (auto _ : state)
      benchmark::DoNotOptimize(call());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kRtfBytes));
  });
}

// The console output with x_copy added to each conversion paired with a copy case.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // One line per case, counters as name=value (color on a terminal).
  RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> shown = runs;
    for (Run& run : shown) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_unit != benchmark::kTime) continue;
      const double seconds =
          run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const std::string& name = run.run_name.function_name;
      copySeconds_[name + "|" + run.aggregate_name] = seconds;
      const auto baseline = baselines().find(name);
      if (baseline == baselines().end()) continue;
      const auto copy = copySeconds_.find(baseline->second + "|" + run.aggregate_name);
      if (copy == copySeconds_.end() || copy->second <= 0) continue;
      run.counters["x_copy"] = benchmark::Counter(seconds / copy->second);
    }
    ConsoleReporter::ReportRuns(shown);
  }

 private:
  std::map<std::string, double> copySeconds_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  registerAll();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
