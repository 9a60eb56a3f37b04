// What a harness hands to bench/report: one measurement a line, as a JSON object, on
// standard output (anything meant for people goes to standard error).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cpu_time.h"

namespace zv::bench {

struct Record {
  std::string operation;  // the same at every size; bench/report keys its goals on it
  std::string unit;       // what `size` counts: "bytes", "lines", "cells", "nodes", ...
  int64_t size = 0;
  double bytes = 0;        // the bytes the operation reads or writes; 0 when none apply
  double seconds = 0;      // ours, CPU time
  std::string peer;        // what the peer is; empty when there is none
  double peerSeconds = 0;  // the peer's CPU time on the same input, in the same run
  double copySeconds = 0;  // a plain copy of `bytes` in memory
  double peakMb = 0;       // our peak resident memory, where the harness measures it
};

inline std::string jsonText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

inline void emit(const Record& r) {
  std::printf(
      "{\"operation\": %s, \"unit\": %s, \"size\": %lld, \"bytes\": %.0f, \"seconds\": %.6g, "
      "\"peer\": %s, \"peer_seconds\": %.6g, \"copy_seconds\": %.6g, \"peak_mb\": %.1f}\n",
      jsonText(r.operation).c_str(), jsonText(r.unit).c_str(), static_cast<long long>(r.size),
      r.bytes, r.seconds, jsonText(r.peer).c_str(), r.peerSeconds, r.copySeconds, r.peakMb);
  std::fflush(stdout);
}

// CPU seconds of copying `bytes` bytes from one buffer to another, both already touched:
// the best of five.
inline double plainCopySeconds(size_t bytes) {
  std::vector<char> from(bytes, 'x'), to(bytes, 'y');
  return bestOf(5, [&] {
    return timed([&] {
      std::memcpy(to.data(), from.data(), bytes);
      asm volatile("" : : "r"(to.data()) : "memory");
    });
  });
}

}  // namespace zv::bench
