#include "archiver/wildcard.h"

#include <vector>

#include "archiver/text.h"

namespace zv::archiver {

namespace {

std::vector<uint32_t> codePoints(std::string_view text, bool ignoreCase) {
  std::vector<uint32_t> out;
  for (size_t pos = 0; pos < text.size();) {
    uint32_t c = nextCodePoint(text, pos);
    if (ignoreCase && ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))) c += 0x20;
    out.push_back(c);
  }
  return out;
}

}  // namespace

bool hasWildcards(std::string_view pattern) {
  return pattern.find_first_of("*?") != std::string_view::npos;
}

bool wildcardMatch(std::string_view patternText, std::string_view nameText, bool ignoreCase) {
  const std::vector<uint32_t> p = codePoints(patternText, ignoreCase);
  const std::vector<uint32_t> n = codePoints(nameText, ignoreCase);
  // Greedy matching with one backtrack point: the last "*" seen.
  size_t pi = 0, ni = 0, star = std::string_view::npos, resume = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++pi, ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      resume = ni;
    } else if (star != std::string_view::npos) {
      pi = star + 1;
      ni = ++resume;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*')
    ++pi;
  return pi == p.size();
}

}  // namespace zv::archiver
