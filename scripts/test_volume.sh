#!/usr/bin/env bash
# Lines of tests against lines of code: .cpp/.h/.py/.vbs/.inc/.api/.sh under tests/ versus under
# src, bindings, tools and api, and the ratio of the two.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
  git ls-files -- "$@" | grep -E '\.(cpp|h|py|vbs|inc|api|sh)$' | tr '\n' '\0' | xargs -0 cat | wc -l
}
tests=$(count tests)
code=$(count src bindings tools api)
echo "tests: $tests lines"
echo "code:  $code lines"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "ratio: %.1f%%\n", 100 * t / c }'
