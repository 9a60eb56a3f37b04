#!/usr/bin/env bash
# The locale texts from VBScript under Wine, in an English (1033) and a French (1036)
# prefix: each prefix is made under its own LANG, with the glibc locale compiled into a
# scratch LOCPATH, since Wine takes the user's locale from the process's.
# Prints "wine locale: N passed, M failed"; exits non-zero on any failure.
#
# Usage: tests/wine/locale_run.sh WIN64_BUILD_DIR
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "$1" && pwd)"
scratch="$(mktemp -d /tmp/zv-wine-locale.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" LOCPATH="$scratch/locales"
unset LC_ALL LC_MESSAGES
passed=0
failed=0

mkdir -p "$LOCPATH"
for lang in en_US fr_FR; do
  localedef -i "$lang" -f UTF-8 "$LOCPATH/$lang.UTF-8" 2>/dev/null ||
    { echo "FAIL: localedef $lang"; failed=$((failed + 1)); }
done

for lang in en_US fr_FR; do
  export LANG="$lang.UTF-8" WINEPREFIX="$scratch/prefix-$lang"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  mkdir -p "$WINEPREFIX/drive_c/zv"
  cp "$build/ZivoviViruvov.dll" "$here/locale.vbs" "$WINEPREFIX/drive_c/zv/"
  wine regsvr32 /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1
  out="$(wine cscript //nologo 'C:\zv\locale.vbs' "${lang%%_*}" 2>&1 | tr -d '\r')"
  rc=$?
  printf '%s\n' "$out" | grep '^FAIL' | sed "s/^/  $lang: /"
  line="$(printf '%s\n' "$out" | grep -E '^[0-9]+ passed, [0-9]+ failed' | tail -n 1)"
  if [[ -z "$line" ]]; then
    echo "FAIL: $lang: no summary line (script error?)"
    failed=$((failed + 1))
  else
    echo "$lang: $line"
    passed=$((passed + $(grep -oE '^[0-9]+' <<<"$line")))
    failed=$((failed + $(grep -oE '[0-9]+ failed' <<<"$line" | grep -oE '[0-9]+')))
  fi
  wine regsvr32 /u /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  wineserver -w
done

echo "wine locale: $passed passed, $failed failed"
((failed == 0))
