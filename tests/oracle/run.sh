#!/usr/bin/env bash
# The oracle: generates the case table, answers it through the runtime (native) and
# through the platform's Automation engine (under Wine, in a fresh prefix), and compares;
# a difference fails unless allowed.tsv lists it with its reason. Prints the number of
# cases compared and allowed, and the time taken.
#
# Usage: tests/oracle/run.sh ZV_ORACLE_NATIVE ZV_ORACLE_EXE
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
native="$1"
exe="$2"
start=$SECONDS
scratch="$(mktemp -d /tmp/zv-oracle.XXXXXX)"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT

python3 "$here/generate_cases.py" >"$scratch/cases.tsv"
# Both sides under the same user locale (LCIDs 0 and 0x400 are the user's).
export LANG=en_US.UTF-8
unset LC_ALL LC_MESSAGES
"$native" "$scratch/cases.tsv" "$scratch/runtime.tsv"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
cp "$exe" "$scratch/cases.tsv" "$WINEPREFIX/drive_c/"
(cd "$WINEPREFIX/drive_c" && wine zv_oracle.exe cases.tsv platform.tsv)
status=0
python3 "$here/compare.py" "$scratch/cases.tsv" "$WINEPREFIX/drive_c/platform.tsv" \
  "$scratch/runtime.tsv" "$here/allowed.tsv" || status=$?
echo "oracle: $((SECONDS - start)) s"
exit $status
