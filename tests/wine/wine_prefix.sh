# Sourced by run.sh, locale_run.sh and tests/oracle/run.sh: a fresh 64-bit Wine prefix, removed on exit, and the
# pass and fail counts of the steps.
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
scratch="$(mktemp -d /tmp/zv-wine.XXXXXX)"
export WINEPREFIX="$scratch/prefix"
drive="$WINEPREFIX/drive_c/zv"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
  failed=$((failed + 1))
  echo "FAIL: $*"
}

# The prefix made and C:\zv in it.
start_prefix() {
  mkdir -p "$drive"
  wineboot -i >/dev/null 2>&1
  wineserver -w
}

# Counts a step's "N passed, M failed" line; a missing line is a failure, since cscript
# prints nothing and exits 0 when a script stops on an error.
count_summary() {  # name output exit-code
  local name="$1" output="${2//$'\r'/}" rc="$3" line n m
  line="$(grep -E '[0-9]+ passed, [0-9]+ failed' <<<"$output" | tail -n 1)"
  grep -E '^FAIL' <<<"$output" | sed "s/^/  $name: /"
  if [[ ! $line =~ ([0-9]+)\ passed,\ ([0-9]+)\ failed ]]; then
    fail "$name: no summary line (script error?)"
    return
  fi
  n=${BASH_REMATCH[1]} m=${BASH_REMATCH[2]}
  passed=$((passed + n))
  failed=$((failed + m))
  echo "$name: $n passed, $m failed"
  # WScript.Quit and the clients' exit code: 0 exactly when nothing failed.
  (((m == 0) == (rc == 0))) || fail "$name: exit code $rc does not match $m failures"
}

# Runs a script of C:\zv in cscript and counts its summary.
run_script() {  # name script [argument]
  local out rc
  out="$(wine cscript //nologo "C:\\zv\\$2" ${3:+"$3"} 2>&1)"
  rc=$?
  count_summary "$1" "$out" "$rc"
}
