#!/usr/bin/env bash
# Runs zv_callcost.exe under Wine in a fresh prefix: the late-bound call cost of the
# library's objects and of Scripting.Dictionary, measured in one run.
#
# Usage: bench/callcost.sh [WIN64_BUILD_DIR [CALLS]]   (default: build/win64, 1500000)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/win64}" && pwd)"
export WINEPREFIX="$(mktemp -d /tmp/zv-callcost.XXXXXX)"
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w
cp "$build/ZivoviViruvov.dll" "$build/zv_callcost.exe" "$WINEPREFIX/drive_c/"
cd "$WINEPREFIX/drive_c"
wine 'C:\zv_callcost.exe' "${2:-1500000}" | tr -d '\r'
