#!/usr/bin/env bash
# Cross-builds ZivoviViruvov.dll for 64-bit (OUT/win64) and 32-bit (OUT/win32) Windows with
# mingw-w64, then runs the Wine tests on the 64-bit one (32-bit Wine is not required).
#
# Usage: tests/wine/build_and_run.sh [OUT]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="${1:-$root/build}"
for target in x86_64:win64 i686:win32; do
  arch="${target%%:*}"
  dir="$out/${target##*:}"
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-$arch.cmake" \
    -DZV_BUILD_TESTS=OFF -DZV_BUILD_PYTHON=OFF -DZV_BUILD_TOOLS=OFF \
    -DPython3_EXECUTABLE="$(command -v python3)" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
done
exec bash "$root/tests/wine/run.sh" "$out/win64" "$out/win32"
