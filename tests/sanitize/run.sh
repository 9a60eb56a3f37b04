#!/usr/bin/env bash
# The native tests and the Python tests on the library built with ASan and UBSan (clang-14,
# the build the fuzz targets share: tests/sanitize/build.sh). Any sanitizer report fails.
#   run.sh [BUILD_DIR]   (default build/fuzz; ctest's entry `sanitizers`)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/fuzz}
mkdir -p "$build"
build=$(cd "$build" && pwd)
source "$here/build.sh"
zv_sanitized_build "$build" zv_tests zivoviviruvov_python zvv

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LANG=en_US.UTF-8 LC_ALL= LC_MESSAGES=
ASAN_OPTIONS=detect_leaks=1 "$build/lib/tests/zv_tests" --gtest_brief=1
# Python is not built with ASan: its runtime goes in first, and Python's own leaks at exit
# are not ours.
runtime=$("${ZV_FUZZ_CXX:-clang++-14}" -print-file-name=libclang_rt.asan-x86_64.so)
cd "$root"
ASAN_OPTIONS=detect_leaks=0 LD_PRELOAD="$runtime" PYTHONPATH="$build/lib/python" \
  /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/python
