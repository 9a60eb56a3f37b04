// The oracle's case and answer lines, shared by the Windows runner (the platform's
// Automation engine under Wine) and the native runner (the library's runtime), so that
// both write the very same text for the same answer.
//
// A case line: kind, LCID (decimal), then one or two fields, tab-separated, UTF-8, with
// "\t", "\n", "\r" and "\\" escaped. Kinds:
//   F  value, pattern   Format (VarFormat): value "d:<double>", "c:<currency units>",
//                       "t:<date serial>" or "s:<text>"
//   D  text             a date read from text (VarDateFromStr)
//   R  text             a Double read from text (VarR8FromStr)
//   C  text             a Currency read from text (VarCyFromStr)
//   L  item             a locale item (GetLocaleInfoA), the LCTYPE in decimal
// An answer line is the escaped result, or "!" and the VB error number.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace oracle {

struct Case {
  char kind = 0;
  int32_t lcid = 0;
  std::vector<std::string> fields;
};

inline std::string unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

// Escapes the separators and every other control character ("\x01" as "\u0001").
inline std::string escape(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    const char* named = c == '\\'   ? "\\\\"
                        : c == '\t' ? "\\t"
                        : c == '\n' ? "\\n"
                        : c == '\r' ? "\\r"
                                    : nullptr;
    char buffer[8] = {static_cast<char>(c)};
    if (!named && c < 0x20) std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
    out += named ? named : buffer;
  }
  return out;
}

inline Case parseCase(const std::string& line) {
  Case c;
  std::vector<std::string> parts(1);
  for (char ch : line) {
    if (ch == '\t')
      parts.emplace_back();
    else
      parts.back() += ch;
  }
  c.kind = parts[0].empty() ? 0 : parts[0][0];
  c.lcid = std::stoi(parts.size() > 1 ? parts[1] : "0");
  for (size_t i = 2; i < parts.size(); ++i)
    c.fields.push_back(unescape(parts[i]));
  return c;
}

inline std::string error(long number) {
  std::string text(1, '!');
  text += std::to_string(number);
  return text;
}

// The shortest text that reads back as the same Double.
inline std::string shortest(double value) {
  char buffer[64];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

// A Currency as its exact decimal value ("-12.3456").
inline std::string currencyText(int64_t units) {
  const bool negative = units < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / 10000);
  text += '.';
  text += std::to_string(magnitude % 10000 + 10000).substr(1);
  return text;
}

// A date serial as "yyyy-mm-dd hh:mm:ss", the time rounded to the second.
inline std::string dateText(double serial) {
  const double whole = std::trunc(serial);
  int64_t days = static_cast<int64_t>(whole);
  int64_t seconds = std::llround(std::fabs(serial - whole) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += serial < 0 ? -1 : 1;
  }
  // Days from 1899-12-30 to civil date (Howard Hinnant's algorithm, epoch 0000-03-01).
  int64_t z = days - 25569 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2);
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld",
                static_cast<long long>(y), static_cast<long long>(m), static_cast<long long>(d),
                static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                static_cast<long long>(seconds % 60));
  return buffer;
}

// The bytes of a numeric locale item (LOCALE_RETURN_NUMBER) in hexadecimal.
inline std::string bytesText(const std::string& bytes) {
  std::string out = "#";
  for (unsigned char b : bytes) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02x", b);
    out += buffer;
  }
  return out;
}

constexpr int32_t kReturnNumber = 0x20000000;

// Answers every case of the file argv[1] into the file argv[2], a line each.
template <class Answer>
int run(int argc, char** argv, Answer answer) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s CASES ANSWERS\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::ofstream out(argv[2], std::ios::binary);
  if (!in || !out) return 2;
  for (std::string line; std::getline(in, line) && !line.empty();)
    out << answer(parseCase(line)) << '\n';
  return 0;
}

}  // namespace oracle
