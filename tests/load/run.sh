#!/usr/bin/env bash
# Builds the library and the load program (load.cpp) with clang-14 and ThreadSanitizer into
# BUILD_DIR (default build/tsan), then runs it: 8 threads doing 4 rounds each while 4
# processes write one registry key 25 times each. Fails on any race report, any result that
# differs between threads, rounds or a run alone, and any registry value lost.
#   run.sh [BUILD_DIR] [THREADS ROUNDS PROCESSES WRITES]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/tsan}
shift || true
mkdir -p "$build"
build=$(cd "$build" && pwd)

cxx=${ZV_TSAN_CXX:-clang++-14}
# Line tables only: enough for the reports, and quicker to build than full debug information.
flags="-O1 -gline-tables-only -fno-omit-frame-pointer -fsanitize=thread"
cmake -S "$root" -B "$build/lib" -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" \
  -DPython3_EXECUTABLE=/usr/bin/python3 -DZV_BUILD_PYTHON=OFF -DZV_BUILD_TESTS=OFF \
  -DZV_BUILD_TOOLS=OFF -DZV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build/lib" --target zivoviviruvov --parallel "$(nproc)"
cmake --install "$build/lib" --prefix "$build/prefix" >/dev/null
cmake -S "$here" -B "$build/target" -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_PREFIX_PATH="$build/prefix" >/dev/null
cmake --build "$build/target" --parallel "$(nproc)"

# A race report ends the run with status 66; the library's boxes would go to stderr.
export TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1"
TSAN_OPTIONS+=" suppressions=$here/tsan.supp"
counts=("$@")
((${#counts[@]})) || counts=(8 4 4 25)
"$build/target/zv_load" "${counts[@]}"
