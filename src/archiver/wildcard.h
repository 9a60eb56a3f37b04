// Info-ZIP's name patterns: "*" matches any run of characters ("/" included), "?" one.
#pragma once

#include <string_view>

namespace zv::archiver {

bool hasWildcards(std::string_view pattern);

// Matches UTF-8 `name` against `pattern`; `ignoreCase` folds ASCII and Latin-1 letters.
bool wildcardMatch(std::string_view pattern, std::string_view name, bool ignoreCase);

}  // namespace zv::archiver
