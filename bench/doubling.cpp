// Doubling check: each conversion at input sizes N and 2N; the time must no more than about
// double. Prints one line per conversion and exits 1 when a ratio exceeds 2.5 (or a
// conversion fails). Not a test: timings belong to no test suite.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "api/HTMlib.h"
#include "api/StrChr.h"
#include "cpu_time.h"
#include "inputs.h"
#include "runtime/errors.h"

namespace {

using namespace zv::bench;
using zv::String;

constexpr double kLimit = 2.5;
constexpr int kRepeats = 5;

// The best of kRepeats timed calls, after one untimed call.
double bestSeconds(const std::function<void()>& call) {
  call();
  double best = 1e300;
  for (int i = 0; i < kRepeats; ++i) {
    const double start = cpuSeconds();
    call();
    best = std::min(best, cpuSeconds() - start);
  }
  return best;
}

struct Case {
  const char* name;
  size_t bytes;                                             // N
  std::function<std::function<void()>(size_t bytes)> make;  // the call on an input of `bytes`
};

}  // namespace

int main() {
  auto html = zv::HTMlib::create();
  auto strchr = zv::StrChr::create();
  TempDir dir;
  int fileCount = 0;

  const Case cases[] = {
      {"HTMlib.ReplaceTXTcharToHTMLchar (all flags)", 4 * kMiB,
       [&](size_t bytes) -> std::function<void()> {
         auto input = std::make_shared<String>(mixedText(charsIn(bytes), 8192));
         return [=] { html->ReplaceTXTcharToHTMLchar(*input, true, true, true); };
       }},
      {"StrChr.RemoveAccent", 4 * kMiB,
       [&](size_t bytes) -> std::function<void()> {
         auto input = std::make_shared<String>(mixedText(charsIn(bytes), 8192));
         return [=] { strchr->RemoveAccent(*input); };
       }},
      {"HTMlib.ReplaceRTFcharToHTMLchar (header, HTML chars)", 2 * kMiB,
       [&](size_t bytes) -> std::function<void()> {
         auto input = std::make_shared<String>(widen(rtfDocument(charsIn(bytes))));
         return [=] { html->ReplaceRTFcharToHTMLchar(*input, true, true); };
       }},
      {"HTMlib.RTFfileToHTMLfile", 2 * kMiB,
       [&](size_t bytes) -> std::function<void()> {
         const auto in = dir.path() / ("in" + std::to_string(++fileCount) + ".rtf");
         if (!writeFile(in, rtfDocument(bytes))) throw std::runtime_error("cannot write");
         const String inName = zv::fromUtf8(in.string());
         const String outName = zv::fromUtf8((dir.path() / "out.html").string());
         return [=] { html->RTFfileToHTMLfile(inName, outName, true); };
       }},
  };

  bool failed = false;
  for (const Case& c : cases) {
    try {
      const double t1 = bestSeconds(c.make(c.bytes));
      const double t2 = bestSeconds(c.make(2 * c.bytes));
      const double ratio = t2 / t1;
      std::printf("%s: size N (%zu bytes): %.4f s, size 2N: %.4f s (CPU), ratio %.2f%s\n", c.name,
                  c.bytes, t1, t2, ratio, ratio > kLimit ? "  ** over the limit **" : "");
      failed |= ratio > kLimit;
    } catch (const zv::Error& e) {
      if (e.number() == zv::err::kNotSupported) {
        std::printf("%s: skipped, not built\n", c.name);
      } else {
        std::printf("%s: error %d: %s\n", c.name, int(e.number()),
                    zv::toUtf8(e.description()).c_str());
        failed = true;
      }
    }
    std::fflush(stdout);
  }
  return failed ? 1 : 0;
}
