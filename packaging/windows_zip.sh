#!/usr/bin/env bash
# Cross-builds the Windows servers with mingw-w64 (64-bit into OUT/win64, 32-bit into
# OUT/win32, as tests/wine/build_and_run.sh does) and bundles each with its archiver DLLs
# and the registration scripts into OUT/ZivoviViruvov-VERSION-windows.zip:
#   ZivoviViruvov-VERSION-windows/{register.cmd,unregister.cmd,servers.cmd,README.txt}
#   ZivoviViruvov-VERSION-windows/{x64,x86}/{ZivoviViruvov,ZipLib,UnZipLib}.dll
#
# Usage: packaging/windows_zip.sh [OUT]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)"
version="$(sed -n 's/^project(ZivoviViruvov VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
name="ZivoviViruvov-$version-windows"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name"

for target in x86_64:win64:x64 i686:win32:x86; do
  IFS=: read -r arch dir folder <<<"$target"
  if [[ ! -f "$out/$dir/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$out/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-$arch.cmake" \
      -DZV_BUILD_TESTS=OFF -DZV_BUILD_PYTHON=OFF -DZV_BUILD_TOOLS=OFF \
      -DPython3_EXECUTABLE="$(command -v python3)" >/dev/null
  fi
  cmake --build "$out/$dir" --parallel "$(nproc)" --target ZivoviViruvov_com ZipLib UnZipLib
  mkdir -p "$stage/$name/$folder"
  # Without the debug information the static C++ runtime brings, at half the size.
  for dll in ZivoviViruvov ZipLib UnZipLib; do
    "$arch-w64-mingw32-strip" -o "$stage/$name/$folder/$dll.dll" "$out/$dir/$dll.dll"
  done
done

cp "$root"/packaging/windows/*.cmd "$stage/$name/"
sed "s/@VERSION@/$version/g" "$root/packaging/windows/README.txt" >"$stage/$name/README.txt"
rm -f "$out/$name.zip"
(cd "$stage" && zip -qrX "$out/$name.zip" "$name")
echo "$out/$name.zip"
