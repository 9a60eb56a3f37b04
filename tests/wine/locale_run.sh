#!/usr/bin/env bash
# The locale texts and conversions from VBScript under Wine, one user locale after the
# other in one prefix: Wine takes the user's locale from each process's LANG, with the glibc
# locale compiled once into WIN64_BUILD_DIR/locales. locale.vbs runs under English (1033) and French
# (1036); the case-table rows of a locale ("any@de_DE", tests/cases/*.tsv) under theirs.
# Prints "wine locale: N passed, M failed"; exits non-zero on any failure.
#
# Usage: tests/wine/locale_run.sh WIN64_BUILD_DIR
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "$1" && pwd)"
scratch="$(mktemp -d /tmp/zv-wine-locale.XXXXXX)"
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" LOCPATH="$build/locales"
export WINEPREFIX="$scratch/prefix"
unset LC_ALL LC_MESSAGES
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT
passed=0
failed=0

mapfile -t langs < <({ printf 'en_US\nfr_FR\n'; cut -f1 "$root"/tests/cases/*.tsv |
  grep -oE '^(any|win)@[a-z]{2}_[A-Z]{2}$' | cut -d@ -f2; } | sort -u)
mkdir -p "$LOCPATH"
for lang in "${langs[@]}"; do
  [[ -d "$LOCPATH/$lang.UTF-8" ]] || localedef -i "$lang" -f UTF-8 "$LOCPATH/$lang.UTF-8" 2>/dev/null &
done
wait
for lang in "${langs[@]}"; do
  [[ -d "$LOCPATH/$lang.UTF-8" ]] || { echo "FAIL: localedef $lang"; failed=$((failed + 1)); }
done

# Counts the "N passed, M failed" line of one script run.
run_script() {  # what script [argument]
  local what="$1" out line
  out="$(wine cscript //nologo "C:\\zv\\$2" ${3:+"$3"} 2>&1 | tr -d '\r')"
  printf '%s\n' "$out" | grep '^FAIL' | sed "s/^/  $what: /"
  line="$(printf '%s\n' "$out" | grep -E '^[0-9]+ passed, [0-9]+ failed' | tail -n 1)"
  if [[ -z "$line" ]]; then
    echo "FAIL: $what: no summary line (script error?)"
    failed=$((failed + 1))
    return
  fi
  echo "$what: $line"
  passed=$((passed + $(grep -oE '^[0-9]+' <<<"$line")))
  failed=$((failed + $(grep -oE '[0-9]+ failed' <<<"$line" | grep -oE '[0-9]+')))
}

export LANG=en_US.UTF-8
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
wineserver -w
mkdir -p "$WINEPREFIX/drive_c/zv"
cp "$build/ZivoviViruvov.dll" "$here/locale.vbs" "$WINEPREFIX/drive_c/zv/"
wine regsvr32 /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1
for lang in "${langs[@]}"; do
  export LANG="$lang.UTF-8"
  case "$lang" in
    en_US | fr_FR) run_script "$lang locale.vbs" locale.vbs "${lang%%_*}" ;;
  esac
  script="cases-$lang.vbs"
  python3 "$here/cases_to_vbs.py" --locale "$lang" "$root"/tests/cases/*.tsv \
    >"$WINEPREFIX/drive_c/zv/$script"
  grep -q 'CreateObject' "$WINEPREFIX/drive_c/zv/$script" && run_script "$lang cases" "$script"
done
export LANG=en_US.UTF-8
wine regsvr32 /u /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1

echo "wine locale: $passed passed, $failed failed"
((failed == 0))
