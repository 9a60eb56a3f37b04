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
source "$here/wine_prefix.sh"
export LOCPATH="$build/locales"
unset LC_ALL LC_MESSAGES

mapfile -t langs < <({ printf 'en_US\nfr_FR\n'; cut -f1 "$root"/tests/cases/*.tsv |
  grep -oE '^(any|win)@[a-z]{2}_[A-Z]{2}$' | cut -d@ -f2; } | sort -u)
mkdir -p "$LOCPATH"
for lang in "${langs[@]}"; do
  [[ -d "$LOCPATH/$lang.UTF-8" ]] || localedef -i "$lang" -f UTF-8 "$LOCPATH/$lang.UTF-8" 2>/dev/null &
done
wait
for lang in "${langs[@]}"; do
  [[ -d "$LOCPATH/$lang.UTF-8" ]] || fail "localedef $lang"
done

export LANG=en_US.UTF-8
start_prefix
cp "$build/ZivoviViruvov.dll" "$drive/"
cat "$root/tests/vbscript/check.inc" "$here/locale.vbs" >"$drive/locale.vbs"
wine regsvr32 /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1
for lang in "${langs[@]}"; do
  export LANG="$lang.UTF-8"
  case "$lang" in
    en_US | fr_FR) run_script "$lang locale.vbs" locale.vbs "${lang%%_*}" ;;
  esac
  script="cases-$lang.vbs"
  python3 "$here/cases_to_vbs.py" --locale "$lang" "$root"/tests/cases/*.tsv \
    >"$drive/$script"
  grep -q 'CreateObject' "$drive/$script" && run_script "$lang cases" "$script"
done
export LANG=en_US.UTF-8
wine regsvr32 /u /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1

echo "wine locale: $passed passed, $failed failed"
((failed == 0))
