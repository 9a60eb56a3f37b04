#!/usr/bin/env bash
# Runs the Windows face under Wine: registers the 64-bit ZivoviViruvov.dll in a fresh
# prefix, runs every tests/vbscript/*.vbs and the script generated from tests/cases/*.tsv
# through cscript, runs the C++ test clients, unregisters the DLL and checks that no key
# of ours is left. Prints "wine: N passed, M failed"; exits non-zero on any failure.
#
# Usage: tests/wine/run.sh [WIN64_BUILD_DIR [WIN32_BUILD_DIR]]   (default: build/win64)
# With a 32-bit build folder, its DLL is checked too (exports and imports only).
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build/win64}" && pwd)"
build32="${2:-}"

export WINEPREFIX="$(mktemp -d /tmp/zv-wine.XXXXXX)"
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
  failed=$((failed + 1))
  echo "FAIL: $*"
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

# Each DLL exports the four entry points and needs nothing but system DLLs.
check_dll() {  # objdump dll
  local dump imports
  dump="$("$1" -p "$2")"
  for entry in DllGetClassObject DllCanUnloadNow DllRegisterServer DllUnregisterServer; do
    grep -qE "\] $entry\$" <<<"$dump" && pass || fail "$2 does not export $entry"
  done
  imports="$(grep 'DLL Name:' <<<"$dump" | awk '{print tolower($3)}' |
    grep -vxE 'advapi32.dll|kernel32.dll|msvcrt.dll|ole32.dll|oleaut32.dll|user32.dll|shell32.dll|gdi32.dll|version.dll|mpr.dll|rasapi32.dll|wininet.dll|comdlg32.dll|winspool.drv' || true)"
  [[ -z "$imports" ]] && pass || fail "$2 needs non-system DLLs: $imports"
}
check_dll x86_64-w64-mingw32-objdump "$build/ZivoviViruvov.dll"
[[ -n "$build32" ]] && check_dll i686-w64-mingw32-objdump "$build32/ZivoviViruvov.dll"

wineboot -i >/dev/null 2>&1
wineserver -w
drive="$WINEPREFIX/drive_c/zv"
mkdir -p "$drive"
cp "$build/ZivoviViruvov.dll" "$build"/zv_*_test.exe "$drive/"
cp "$root"/tests/vbscript/*.vbs "$drive/"
python3 "$here/cases_to_vbs.py" "$root"/tests/cases/*.tsv >"$drive/cases.vbs" || fail "cases_to_vbs"
python3 "$here/tree_cases_to_vbs.py" >"$drive/trviewlib_cases.vbs" || fail "tree_cases_to_vbs"
# Message boxes go to a log instead of the screen, so nothing waits for a click.
export ZV_MESSAGEBOX_LOG='C:\zv\messageboxes.log'

# The keys registration writes: every CLSID, ProgID, interface and the type library.
mapfile -t keys < <(python3 - "$root" <<'EOF'
import sys
sys.path.insert(0, sys.argv[1] + "/tools/apigen")
import apigen
lib = apigen.parse(sys.argv[1] + "/api")
for t in lib.types:
    if t.keyword == "class" and not t.private:
        print(f"HKCR\\CLSID\\{t.clsid}")
        print(f"HKCR\\{lib.name}.{t.name}")
        print(f"HKCR\\Interface\\{t.iid}")
    elif t.keyword == "events":
        print(f"HKCR\\Interface\\{t.clsid}")
    elif t.keyword == "model" and t.clsid:
        print(f"HKCR\\CLSID\\{t.clsid}")
        print(f"HKCR\\{lib.name}.Models.{t.name}")
print(f"HKCR\\TypeLib\\{lib.libid}")
print(f"HKCR\\TypeLib\\{lib.models_libid}")
EOF
)
((${#keys[@]} > 40)) && pass || fail "registry key list (${#keys[@]} keys)"

if wine regsvr32 /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1; then pass; else fail "regsvr32"; fi
present=0
for k in "${keys[@]}"; do
  wine reg query "$k" >/dev/null 2>&1 && present=$((present + 1)) || echo "  missing after registration: $k"
done
[[ $present == "${#keys[@]}" ]] && pass || fail "registration wrote $present of ${#keys[@]} keys"
out="$(wine reg query 'HKCR\CLSID\{0D0802EE-D1BA-43DD-BC57-0CC901E420EE}\InprocServer32' 2>&1 | tr -d '\r')"
grep -q 'ThreadingModel.*Apartment' <<<"$out" && grep -q 'C:\\zv\\ZivoviViruvov.dll' <<<"$out" &&
  pass || fail "InprocServer32 of FileLib: $out"

cd "$drive"
for script in "$drive"/*.vbs; do
  name="$(basename "$script")"
  out="$(wine cscript //nologo "C:\\zv\\$name" 2>&1)"
  count_summary "$name" "$out" $?
done
for client in typelib events; do
  out="$(wine "C:\\zv\\zv_${client}_test.exe" 2>&1)"
  count_summary "zv_${client}_test" "$out" $?
done

if wine regsvr32 /u /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1; then pass; else fail "regsvr32 /u"; fi
left=0
for k in "${keys[@]}"; do
  if wine reg query "$k" >/dev/null 2>&1; then
    left=$((left + 1))
    echo "  left after unregistration: $k"
  fi
done
[[ $left == 0 ]] && pass || fail "$left keys left after regsvr32 /u"

echo "wine: $passed passed, $failed failed"
((failed == 0))
