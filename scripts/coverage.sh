#!/usr/bin/env bash
# Line and branch coverage of src/ by the native GoogleTest suite and the Python tests:
# builds an instrumented tree in build/coverage, runs both suites against it, prints the
# summary and writes an HTML report to build/coverage/html/index.html and the per-line counts
# to build/coverage/coverage.json (scripts/coverage_diff.py compares two of those).
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v gcovr >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends gcovr
fi

out=build/coverage
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPython3_EXECUTABLE=/usr/bin/python3 \
      -DCMAKE_CXX_FLAGS="--coverage -O0 -g0" -DCMAKE_EXE_LINKER_FLAGS=--coverage \
      -DCMAKE_SHARED_LINKER_FLAGS=--coverage -DCMAKE_MODULE_LINKER_FLAGS=--coverage \
      -DZV_BUILD_BENCH=OFF
cmake --build "$out" --parallel "$(nproc)" --target zv_tests zivoviviruvov_python zvv

# Counts from an earlier run would add up with this one.
find "$out" -name '*.gcda' -delete

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
LANG=en_US.UTF-8 LC_ALL= LC_MESSAGES= "$out/tests/zv_tests" --gtest_brief=1 || status=$?
PYTHONPATH=$out/python /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/python || status=$?

mkdir -p "$out/html"
gcovr --root . --object-directory "$out" --filter 'src/' --exclude-throw-branches \
      --print-summary --html-details "$out/html/index.html" --json "$out/coverage.json"
echo "HTML report: $out/html/index.html"
exit "${status:-0}"
