#!/usr/bin/env bash
# Builds the library and the fuzz targets with clang-14 (libFuzzer, ASan, UBSan) and fuzzes:
# the text conversions (zv_fuzz_text), then the archiver reading arbitrary bytes as an
# archive (zv_fuzz_archive), then the tree XML reader (zv_fuzz_tree_xml), then the delimited
# import into a list-view (zv_fuzz_listview).
#   run.sh [--smoke | --time SECONDS] [BUILD_DIR]
# --smoke (the ctest entry fuzz_smoke): fresh working corpora from the seeds, 45 s for the
#   text conversions, 20 s for the archiver and 15 s each for the tree XML reader and the
#   delimited import.
# --time: fuzz each that long, keeping the working corpora in BUILD_DIR between runs.
# Fails on any crash, hang, leak or sanitizer report; the reproducer goes to
# BUILD_DIR/artifacts/. BUILD_DIR defaults to build/fuzz.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
mode=smoke
seconds=45
archive_seconds=20
tree_xml_seconds=15
listview_seconds=15
if [[ ${1:-} == --smoke ]]; then
  shift
elif [[ ${1:-} == --time ]]; then
  mode=long
  seconds=$2
  archive_seconds=$2
  tree_xml_seconds=$2
  listview_seconds=$2
  shift 2
fi
build=${1:-$root/build/fuzz}
mkdir -p "$build"
build=$(cd "$build" && pwd)

cxx=${ZV_FUZZ_CXX:-clang++-14}
# -O1 and assertions on (no NDEBUG): the usual fuzzing compromise between speed and checks.
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
flags+=" -fno-sanitize-recover=undefined -fsanitize-coverage-allowlist=$here/coverage.txt"
jobs=$(nproc)

cmake -S "$root" -B "$build/lib" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" \
  -DPython3_EXECUTABLE=/usr/bin/python3 -DZV_BUILD_PYTHON=OFF -DZV_BUILD_TESTS=OFF \
  -DZV_BUILD_TOOLS=OFF -DZV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build/lib" --target zivoviviruvov --parallel "$jobs"
cmake --install "$build/lib" --prefix "$build/prefix" >/dev/null
cmake -S "$here" -B "$build/target" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="-O1 -g -fno-omit-frame-pointer" \
  -DCMAKE_PREFIX_PATH="$build/prefix" >/dev/null
cmake --build "$build/target" --parallel "$jobs"

if [[ $mode == smoke ]]; then
  rm -rf "$build/corpus" "$build/corpus_archive" "$build/corpus_tree_xml"
fi
mkdir -p "$build/corpus" "$build/corpus_archive" "$build/corpus_tree_xml" "$build/artifacts"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1
"$build/target/zv_fuzz_text" "$build/corpus" "$here/corpus" \
  -dict="$here/text.dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=40000 \
  -artifact_prefix="$build/artifacts/" -print_final_stats=1
"$build/target/zv_fuzz_archive" "$build/corpus_archive" "$here/corpus_archive" \
  -max_total_time="$archive_seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -artifact_prefix="$build/artifacts/archive-" -print_final_stats=1
"$build/target/zv_fuzz_tree_xml" "$build/corpus_tree_xml" "$here/corpus_tree_xml" -dict="$here/tree_xml.dict" \
  -max_total_time="$tree_xml_seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
  -artifact_prefix="$build/artifacts/tree-xml-" -print_final_stats=1
# The delimited import: lines of up to 64 KB, so fields beyond position 32767 are reached.
[[ $mode == smoke ]] && rm -rf "$build/corpus_listview"
mkdir -p "$build/corpus_listview"
"$build/target/zv_fuzz_listview" "$build/corpus_listview" "$here/corpus/listview" \
  -max_total_time="$listview_seconds" -timeout=10 -rss_limit_mb=2048 -max_len=70000 \
  -artifact_prefix="$build/artifacts/listview-" -print_final_stats=1
