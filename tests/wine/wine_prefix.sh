# Sourced by run.sh and locale_run.sh: a fresh 64-bit Wine prefix, removed on exit, and the
# pass and fail counts of the steps.
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
scratch="$(mktemp -d /tmp/zv-wine.XXXXXX)"
export WINEPREFIX="$scratch/prefix"
drive="$WINEPREFIX/drive_c/zv"
cleanup() {
  wineserver -k >/dev/null 2>&1
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
  local name="$1" output="$2" rc="$3" line n m
  line="$(printf '%s\n' "$output" | tr -d '\r' | grep -E '[0-9]+ passed, [0-9]+ failed' | tail -n 1)"
  printf '%s\n' "$output" | tr -d '\r' | grep -E '^FAIL' | sed "s/^/  $name: /"
  if [[ -z "$line" ]]; then
    fail "$name: no summary line (script error?)"
    return
  fi
  n="$(grep -oE '[0-9]+ passed' <<<"$line" | grep -oE '[0-9]+')"
  m="$(grep -oE '[0-9]+ failed' <<<"$line" | grep -oE '[0-9]+')"
  passed=$((passed + n))
  failed=$((failed + m))
  echo "$name: $n passed, $m failed"
  # WScript.Quit and the clients' exit code: 0 exactly when nothing failed.
  if (((m == 0) != (rc == 0))); then
    fail "$name: exit code $rc does not match $m failures"
  fi
}

# Runs a script of C:\zv in cscript and counts its summary.
run_script() {  # name script [argument]
  local out rc
  out="$(wine cscript //nologo "C:\\zv\\$2" ${3:+"$3"} 2>&1)"
  rc=$?
  count_summary "$1" "$out" "$rc"
}
