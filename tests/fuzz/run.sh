#!/usr/bin/env bash
# Builds the library (tests/sanitize/build.sh: clang-14, ASan, UBSan) and the fuzz targets,
# then fuzzes each reader in turn: the text conversions, the archiver (listing, testing and
# extracting arbitrary bytes as an archive), the tree XML reader, the delimited import, the
# .reg import, the VB reading of numbers and dates, and RTF files to HTML.
#   run.sh [--smoke | --time SECONDS] [BUILD_DIR [TARGET...]]
# --smoke (the ctest entry fuzz_smoke): fresh working corpora from the seeds, each target
#   for its smoke time below (2 min 15 s in all).
# --time: fuzz each target that long, keeping the working corpora in BUILD_DIR/corpus
#   between runs.
# TARGET: only those (text, archive, ...); all by default. Seeds: tests/fuzz/corpus/TARGET/.
# Fails on any crash, hang, leak, failed check or sanitizer report; the reproducer goes to
# BUILD_DIR/artifacts/. BUILD_DIR defaults to build/fuzz.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=  # none: the smoke run
if [[ ${1:-} == --smoke ]]; then
  shift
elif [[ ${1:-} == --time ]]; then
  seconds=$2
  shift 2
fi
build=${1:-$root/build/fuzz}
shift || true
mkdir -p "$build"
build=$(cd "$build" && pwd)

# target, smoke seconds, longest input, options of its own
targets=(
  "text 45 40000 -dict=$here/text.dict"
  "archive 20 8192"
  "tree_xml 15 16384 -dict=$here/tree_xml.dict"
  # Lines of up to 64 KB, so fields beyond position 32767 are reached.
  "listview 15 70000"
  # The reader's messages for bad files would fill the log; reports still show.
  "reg 10 16384 -close_fd_mask=2 -dict=$here/reg.dict"
  "vb_reading 10 256 -dict=$here/vb_reading.dict"
  "rtf_file 10 16384 -dict=$here/rtf.dict"
)
wanted=" $* "

source "$root/tests/sanitize/build.sh"
# zvv too: the install below copies it.
zv_sanitized_build "$build" zivoviviruvov zvv
cmake --install "$build/lib" --prefix "$build/prefix" >/dev/null
cmake -S "$here" -B "$build/target" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER="${ZV_FUZZ_CXX:-clang++-14}" \
  -DCMAKE_CXX_FLAGS="-O1 -g -fno-omit-frame-pointer" -DCMAKE_PREFIX_PATH="$build/prefix" >/dev/null
cmake --build "$build/target" --parallel "$(nproc)"

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1
# The VB readers' Variant forms read with the user's locale: US English.
export LANG=en_US.UTF-8 LC_ALL= LC_MESSAGES=
mkdir -p "$build/artifacts"
for row in "${targets[@]}"; do
  read -r target smoke max_len options <<<"$row"
  [[ $wanted == "  " || $wanted == *" $target "* ]] || continue
  corpus=$build/corpus/$target
  [[ -z $seconds ]] && rm -rf "$corpus"
  mkdir -p "$corpus"
  # shellcheck disable=SC2086
  "$build/target/zv_fuzz_$target" "$corpus" "$here/corpus/$target" $options \
    -max_total_time="${seconds:-$smoke}" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
    -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1
done
