// The text conversions at half and full size, each against a plain copy of the same bytes
// and ReplaceTXTcharToHTMLchar also against Python's html.escape and str.replace chain on
// the same text (bench/peers/html_chain.py). CPU time, the best of five calls after an
// untimed one. Sizes are the bytes of the input as held: UTF-16 strings in memory, the RTF
// file on disk. One JSON line a measurement (record.h), for bench/report.
//   zv_text_bench [MIB]   (the full size of the text inputs, default 10; the RTF inputs half)
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "api/HTMlib.h"
#include "api/StrChr.h"
#include "child_process.h"
#include "inputs.h"
#include "record.h"
#include "runtime/errors.h"

namespace {

using namespace zv::bench;
using zv::String;

// Links and addresses lie in the first 8192 characters of a single-call text: with
// detection on, one beyond position 32767 fails with error 6.
constexpr size_t kLinkChars = 8192;
constexpr size_t kCallChars = 8192;  // 16 KiB a call when the text goes in pieces

// One conversion on an input of a given size, and what it is compared with.
struct Sized {
  std::function<void()> call;
  std::function<double()> peerSeconds;  // none: the plain copy is the peer
  std::string peer;
};

struct Case {
  const char* operation;
  size_t fullBytes;
  std::function<Sized(size_t bytes)> make;
};

double bestSeconds(const std::function<void()>& call) {
  call();
  return bestOf(5, [&] { return timed(call); });
}

}  // namespace

int main(int argc, char** argv) {
  const size_t textBytes = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10) * kMiB;
  auto html = zv::HTMlib::create();
  auto strchr = zv::StrChr::create();
  TempDir dir;
  int files = 0;
  auto text = [](size_t bytes, size_t linkChars = kLinkChars, uint64_t seed = 1) {
    return std::make_shared<const String>(mixedText(charsIn(bytes), linkChars, seed));
  };
  auto rtf = [](size_t bytes) {
    return std::make_shared<const String>(widen(rtfDocument(charsIn(bytes))));
  };

  const Case cases[] = {
      {"HTMlib.ReplaceTXTcharToHTMLchar, all flags, one call", textBytes,
       [&](size_t bytes) {
         auto input = text(bytes);
         const auto path = dir.path() / ("text" + std::to_string(++files) + ".txt");
         if (!writeFile(path, zv::toUtf8(*input))) std::abort();
         return Sized{[=] { html->ReplaceTXTcharToHTMLchar(*input, true, true, true); },
                      [=] {
                        return pythonPeerSeconds("html_chain.py", {path.string(), "3"});
                      },
                      "Python html.escape + str.replace chain"};
       }},
      {"HTMlib.ReplaceTXTcharToHTMLchar, all flags, 16 KiB calls", textBytes,
       [&](size_t bytes) {
         auto input = text(bytes, SIZE_MAX, 3);
         return Sized{[=] {
                        for (size_t at = 0; at < input->size(); at += kCallChars)
                          html->ReplaceTXTcharToHTMLchar(input->substr(at, kCallChars), true, true,
                                                         true);
                      },
                      {},
                      ""};
       }},
      {"StrChr.RemoveAccent", textBytes,
       [&](size_t bytes) {
         auto input = text(bytes);
         return Sized{[=] { strchr->RemoveAccent(*input); }, {}, ""};
       }},
      {"HTMlib.ReplaceRTFcharToHTMLchar, header and HTML chars", textBytes / 2,
       [&](size_t bytes) {
         auto input = rtf(bytes);
         return Sized{[=] { html->ReplaceRTFcharToHTMLchar(*input, true, true); }, {}, ""};
       }},
      {"HTMlib.ReplaceHTMLcharToRTFchar", textBytes / 2,
       [&](size_t bytes) {
         String converted = html->ReplaceTXTcharToHTMLchar(*text(bytes), true, true, true);
         converted.resize(charsIn(bytes));
         auto input = std::make_shared<const String>(std::move(converted));
         return Sized{[=] { html->ReplaceHTMLcharToRTFchar(*input); }, {}, ""};
       }},
      {"HTMlib.RTFfileToHTMLfile", textBytes / 2,
       [&](size_t bytes) {
         const auto in = dir.path() / ("in" + std::to_string(++files) + ".rtf");
         if (!writeFile(in, rtfDocument(bytes))) std::abort();
         const String inName = zv::fromUtf8(in.string());
         const String outName = zv::fromUtf8((dir.path() / "out.html").string());
         return Sized{[=] { html->RTFfileToHTMLfile(inName, outName, true); }, {}, ""};
       }},
  };

  try {
    for (const Case& c : cases) {
      for (size_t bytes : {c.fullBytes / 2, c.fullBytes}) {
        const Sized sized = c.make(bytes);
        Record r{.operation = c.operation,
                 .unit = "bytes",
                 .size = int64_t(bytes),
                 .bytes = double(bytes)};
        r.seconds = bestSeconds(sized.call);
        r.copySeconds = plainCopySeconds(bytes);
        r.peer = sized.peerSeconds ? sized.peer : "plain copy";
        r.peerSeconds = sized.peerSeconds ? sized.peerSeconds() : r.copySeconds;
        emit(r);
      }
    }
  } catch (const zv::Error& e) {
    std::fprintf(stderr, "error %d: %s\n", int(e.number()), zv::toUtf8(e.description()).c_str());
    return 2;
  }
  return 0;
}
