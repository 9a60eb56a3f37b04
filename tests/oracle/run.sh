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
source "$here/../wine/wine_prefix.sh"

python3 "$here/generate_cases.py" >"$scratch/cases.tsv"
# Both sides under the same user locale (LCIDs 0 and 0x400 are the user's).
export LANG=en_US.UTF-8
unset LC_ALL LC_MESSAGES
"$native" "$scratch/cases.tsv" "$scratch/runtime.tsv"
start_prefix
cp "$exe" "$scratch/cases.tsv" "$drive/"
(cd "$drive" && wine zv_oracle.exe cases.tsv platform.tsv)
status=0
python3 "$here/compare.py" "$scratch/cases.tsv" "$drive/platform.tsv" "$scratch/runtime.tsv" \
  "$here/allowed.tsv" || status=$?
echo "oracle: $((SECONDS - start)) s"
exit $status
