# Sourced by tests/sanitize/run.sh and tests/fuzz/run.sh: one clang-14 build of the library
# with ASan and UBSan, plus libFuzzer's coverage hooks on the code under fuzz, in
# BUILD_DIR/lib. The native tests, zvv, the Python module and the fuzz targets all link
# this one library, so whichever script runs second finds it built.
#   zv_sanitized_build BUILD_DIR TARGET...
zv_sanitized_build() {
  local build=$1 root here
  shift
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  root=$(cd "$here/../.." && pwd)
  local list=$root/tests/fuzz/coverage.txt stamp=$build/lib/coverage.txt stale=false
  # Neither Ninja nor ccache reads the allowlist: after a change (or in a tree built before
  # the stamp), everything again without the cache.
  [[ -f $build/lib/build.ninja ]] && ! cmp -s "$list" "$stamp" && stale=true
  # -O1 and assertions on (no NDEBUG): the usual compromise between speed and checks.
  local flags="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
  flags+=" -fno-sanitize-recover=undefined -fsanitize-coverage-allowlist=$list"
  # Programs take the ASan runtime as a shared library, the one Python gets preloaded, so
  # that zvv and Python started from the Python tests inherit a runtime that fits them.
  local runtime
  runtime=$(dirname "$("${ZV_FUZZ_CXX:-clang++-14}" -print-file-name=libclang_rt.asan-x86_64.so)")
  cmake -S "$root" -B "$build/lib" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER="${ZV_FUZZ_CXX:-clang++-14}" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-shared-libasan -Wl,-rpath,$runtime" \
    -DPython3_EXECUTABLE=/usr/bin/python3 -DZV_BUILD_PYTHON=ON -DZV_BUILD_TESTS=ON \
    -DZV_BUILD_TOOLS=ON -DZV_BUILD_BENCH=OFF >/dev/null
  if $stale; then
    cmake --build "$build/lib" --target clean
    CCACHE_RECACHE=1 cmake --build "$build/lib" --parallel "$(nproc)" --target "$@"
  else
    cmake --build "$build/lib" --parallel "$(nproc)" --target "$@"
  fi
  cp "$list" "$stamp"
}
