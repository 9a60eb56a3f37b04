// Generated inputs for the benchmarks and the doubling check: deterministic, built from
// fragments that exercise every rule of the conversions.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "runtime/text.h"

namespace zv::bench {

inline constexpr size_t kMiB = size_t(1) << 20;

// Characters in `bytes` bytes of UTF-16 text.
inline constexpr size_t charsIn(size_t bytes) {
  return bytes / sizeof(char16_t);
}

class Lcg {
 public:
  explicit Lcg(uint64_t seed) : state_(seed) {}
  uint32_t next(uint32_t bound) {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return uint32_t((state_ >> 33) % bound);
  }

 private:
  uint64_t state_;
};

// Plain words, accented words, "<", ">", "&", quotes, "www." names (not a link prefix).
inline constexpr std::u16string_view kTextWords[] = {
    u"the",
    u"quick",
    u"brown",
    u"fox",
    u"été",
    u"Ça",
    u"naïve",
    u"œuvre",
    u"Ærø",
    u"façade",
    u"<b>",
    u"</b>",
    u"a&b",
    u"\"quoted\"",
    u"l'été",
    u"5 €",
    u"© 2026",
    u"50°",
    u"Ñandú",
    u"crème",
    u"brûlée",
    u"Öl",
    u"www.example.com",
    u"x > y",
    u"jumps",
    u"over",
    u"lazy",
    u"dog",
    u"Straße",
    u"µs",
};

// Web links and mail addresses, detected only with detectHREF / detectMAIL.
inline constexpr std::u16string_view kLinkWords[] = {
    u"http://example.com/path/page.html?q=1",
    u"https://www.example.org/a/b",
    u"ftp://files.example.net/pub/file.zip",
    u"jean.dupont@example.fr",
    u"contact@mail.example.com",
};

// Mixed text of `chars` characters, words separated by blanks and CR LF. Links and
// addresses appear every few words within the first `linkChars` characters only: with
// detection on, a link or "@" beyond position 32767 of a single call fails with error 6.
inline String mixedText(size_t chars, size_t linkChars, uint64_t seed = 1) {
  Lcg rng(seed);
  String out;
  out.reserve(chars + 64);
  while (out.size() < chars) {
    const bool link = out.size() < linkChars && rng.next(12) == 0;
    if (link)
      out.append(kLinkWords[rng.next(std::size(kLinkWords))]);
    else
      out.append(kTextWords[rng.next(std::size(kTextWords))]);
    out.append(rng.next(10) == 0 ? u"\r\n" : u" ");
  }
  out.resize(chars);
  return out;
}

// RTF fragments: hex escapes, quotes, braces, tabs, paragraphs, bullets, groups.
inline constexpr std::string_view kRtfWords[] = {
    "the",           "quick",           "brown",     "fox",
    "\\'e9t\\'e9",   "cr\\'e8me",       "\\'e0 la",  "na\\'efve",
    "fa\\'e7ade",    "\\'c9cole",       "\\rquote ", "\\ldblquote ",
    "\\rdblquote ",  "\\{x\\}",         "\\tab ",    "\\par ",
    "\\page ",       "{\\'b7}",         "\\bullet ", "\\~",
    "\\b bold\\b0 ", "{\\i it}",        "\\'a3 5",   "\\'b0C",
    "{\\*\\bkmk x}", "www.example.com", "a < b",     "c > d",
    "\\'9c",         "\\'8f",
};

inline constexpr std::string_view kRtfHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Courier;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs17 ";

// An RTF document of `bytes` bytes (7-bit, so one character per byte), header included.
inline std::string rtfDocument(size_t bytes, uint64_t seed = 2) {
  Lcg rng(seed);
  std::string out(kRtfHeader);
  out.reserve(bytes + 64);
  while (out.size() + 3 < bytes) {
    out.append(kRtfWords[rng.next(std::size(kRtfWords))]);
    out.append(rng.next(12) == 0 ? "\r\n" : " ");
  }
  out.resize(bytes - 3, ' ');
  out.append("}\r\n");
  return out;
}

inline String widen(std::string_view ascii) {
  return String(ascii.begin(), ascii.end());
}

inline bool writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

inline std::string readFile(const std::filesystem::path& path) {
  std::string bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes.append(buffer, n);
  std::fclose(f);
  return bytes;
}

// A fresh directory under the system's temporary directory, removed on destruction.
class TempDir {
 public:
  TempDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("zv_bench_" + std::to_string(uintptr_t(this)) + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace zv::bench
