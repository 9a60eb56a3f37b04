#!/usr/bin/env bash
# Runs the Windows face under Wine: registers the 64-bit ZivoviViruvov.dll in a fresh
# prefix, runs every tests/vbscript/*.vbs and the script generated from tests/cases/*.tsv
# through cscript (zv_script_host for scripts handling events), checks the archives they
# wrote with Info-ZIP's unzip -t, runs the C++ test clients, unregisters the DLL and checks
# that no key of ours is left. Prints "wine: N passed, M failed"; exits non-zero on any
# failure.
#
# Usage: tests/wine/run.sh [WIN64_BUILD_DIR [WIN32_BUILD_DIR]]   (default: build/win64)
# With a 32-bit build folder, its DLL is checked too (exports and imports only).
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build/win64}" && pwd)"
build32="${2:-}"

source "$here/wine_prefix.sh"

# Each DLL exports its entry points, undecorated, and needs nothing but system DLLs.
check_dll() {  # objdump dll entry...
  local objdump="$1" dll="$2" dump imports entry
  shift 2
  dump="$("$objdump" -p "$dll")"
  for entry in "$@"; do
    grep -qE "\] $entry\$" <<<"$dump" && pass || fail "$dll does not export $entry"
  done
  grep -q ZvTestRaiseEvent <<<"$dump" && fail "$dll exports the test hook" || pass
  imports="$(grep 'DLL Name:' <<<"$dump" | awk '{print tolower($3)}' |
    grep -vxE 'advapi32.dll|kernel32.dll|msvcrt.dll|ole32.dll|oleaut32.dll|user32.dll|shell32.dll|gdi32.dll|version.dll|mpr.dll|rasapi32.dll|wininet.dll|comdlg32.dll|winspool.drv' || true)"
  [[ -z "$imports" ]] && pass || fail "$dll needs non-system DLLs: $imports"
}
check_dlls() {  # objdump folder
  check_dll "$1" "$2/ZivoviViruvov.dll" DllGetClassObject DllCanUnloadNow DllRegisterServer \
    DllUnregisterServer DllInstall
  check_dll "$1" "$2/ZipLib.dll" ZpInit ZpSetOptions ZpArchive
  check_dll "$1" "$2/UnZipLib.dll" Wiz_SingleEntryUnzip UzpVersion2
}
check_dlls x86_64-w64-mingw32-objdump "$build"
[[ -n "$build32" ]] && check_dlls i686-w64-mingw32-objdump "$build32"

start_prefix
cp "$build"/ZivoviViruvov*.dll "$build"/{ZipLib,UnZipLib}.dll "$build"/zv_*.exe "$drive/"
for script in "$root"/tests/vbscript/*.vbs; do
  cat "$root/tests/vbscript/check.inc" "$script" >"$drive/$(basename "$script")"
done
# The files the list-view cases write and read (trviewlib_cases.vbs).
cp -r "$root"/tests/cases/listview "$drive/"
python3 "$here/cases_to_vbs.py" "$root"/tests/cases/*.tsv >"$drive/cases.vbs" || fail "cases_to_vbs"
python3 "$root/tests/cases/hostile_archives.py" "$drive/hostile" || fail "hostile_archives"
python3 "$here/tree_cases_to_vbs.py" >"$drive/trviewlib_cases.vbs" || fail "tree_cases_to_vbs"
python3 "$here/tree_xml_cases_to_vbs.py" "$drive" >"$drive/tree_xml_cases.vbs" || fail "tree_xml_cases_to_vbs"
# Message boxes go to a log instead of the screen, so nothing waits for a click.
export ZV_MESSAGEBOX_LOG='C:\zv\messageboxes.log'

# The keys registration writes below Software\Classes: every CLSID, ProgID, interface and the
# type library (its version key in hexadecimal, 31.0 for 49.0).
mapfile -t keys < <(python3 - "$root" <<'EOF'
import sys
sys.path.insert(0, sys.argv[1] + "/tools/apigen")
import apigen
lib = apigen.parse(sys.argv[1] + "/api")
for t in lib.types:
    if t.keyword == "class" and not t.private:
        print(f"CLSID\\{t.clsid}")
        print(f"{lib.name}.{t.name}")
        print(f"Interface\\{t.iid}")
    elif t.keyword == "events":
        print(f"Interface\\{t.clsid}")
    elif t.keyword == "model":
        print(f"Interface\\{t.iid}")
        if t.clsid:
            print(f"CLSID\\{t.clsid}")
            print(f"{lib.name}.Models.{t.name}")
models_major, models_minor = (int(n) for n in lib.models_version.split("."))
print(f"TypeLib\\{lib.models_libid}\\{models_major:x}.{models_minor:x}\\0\\win64")
major, minor = (int(n) for n in lib.version.split("."))
print(f"TypeLib\\{lib.libid}\\{major:x}.{minor:x}\\0\\win64")
EOF
)
((${#keys[@]} > 40)) && pass || fail "registry key list (${#keys[@]} keys)"
libid="$(grep -oE '\{[0-9A-F-]+\}' <<<"${keys[-1]}")"
machine='HKEY_LOCAL_MACHINE\Software\Classes'
user='HKEY_CURRENT_USER\Software\Classes'

# Exactly COUNT of the keys stand below ROOT, read from one export of ROOT.
expect_keys() {  # root count what
  local n=0 text
  rm -f "$WINEPREFIX/drive_c/keys.reg"
  wine reg export "$1" 'C:\keys.reg' /y >/dev/null 2>&1
  text="$(iconv -f UTF-16LE -t UTF-8 "$WINEPREFIX/drive_c/keys.reg" 2>/dev/null | tr -d '\r')"
  for k in "${keys[@]}"; do
    grep -qiF "[$1\\$k]" <<<"$text" && n=$((n + 1))
  done
  [[ $n == "$2" ]] && pass || fail "$3: $n of ${#keys[@]} keys below $1, $2 expected"
}

if wine regsvr32 /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1; then pass; else fail "regsvr32"; fi
expect_keys "$machine" "${#keys[@]}" "regsvr32"
out="$(wine reg query 'HKCR\CLSID\{0D0802EE-D1BA-43DD-BC57-0CC901E420EE}\InprocServer32' 2>&1 | tr -d '\r')"
grep -q 'ThreadingModel.*Apartment' <<<"$out" && grep -q 'C:\\zv\\ZivoviViruvov.dll' <<<"$out" &&
  pass || fail "InprocServer32 of FileLib: $out"

cd "$drive"
# Scripts that handle events run in zv_script_host: Wine's cscript connects no events.
for script in "$drive"/*.vbs; do
  name="$(basename "$script")"
  if grep -q 'WScript.CreateObject(.*, "' "$script"; then
    out="$(wine "C:\\zv\\zv_script_host.exe" "C:\\zv\\$name" 2>&1)"
  else
    out="$(wine cscript //nologo "C:\\zv\\$name" 2>&1)"
  fi
  count_summary "$name" "$out" $?
done
# Info-ZIP's unzip accepts every archive the scripts wrote.
for archive in "$drive"/archives/*.zip; do
  [[ -e $archive ]] || { fail "no archive written by the scripts"; break; }
  unzip -tqq -P secret "$archive" >/dev/null 2>&1 && pass || fail "unzip -t $(basename "$archive")"
done
# What registry.vbs wrote is in the Wine registry as Windows tools see it.
out="$(wine reg query 'HKCU\Software\ZivoviViruvovTest' /v Name 2>&1 | tr -d '\r')"
grep -qE 'Name +REG_SZ +Hello' <<<"$out" && pass || fail "wine reg query of the RegistryLib value: $out"
out="$(wine reg query 'HKCR\.zvtest' 2>&1 | tr -d '\r')"
grep -qE 'REG_SZ +ZvApp.Document' <<<"$out" && pass || fail "wine reg query of the association: $out"
for client in typelib events calls; do
  out="$(wine "C:\\zv\\zv_${client}_test.exe" 2>&1)"
  count_summary "zv_${client}_test" "$out" $?
done

# The call-cost benchmark (bench/callcost.sh) runs, briefly: every call it times succeeds.
out="$(wine 'C:\zv\zv_callcost.exe' 3000 2>&1 | tr -d '\r')"
[[ "$(grep -cE ' [0-9]+\.[0-9]{2}$' <<<"$out")" -ge 9 ]] && ! grep -qE 'failed|cannot' <<<"$out" && pass ||
  fail "zv_callcost: $out"

# While the 32-bit DLL is registered too, unregistering the 64-bit one leaves the ProgIDs,
# interfaces and type library both use: all but the CLSIDs and the win64 key.
win32="${keys[-1]%win64}win32"
wine reg add "$machine\\$win32" /ve /d 'C:\zv32\ZivoviViruvov.dll' /f >/dev/null 2>&1
if wine regsvr32 /u /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1; then pass; else fail "regsvr32 /u"; fi
shared="$(printf '%s\n' "${keys[@]}" | grep -cvE '^CLSID|win64$')"
expect_keys "$machine" "$shared" "regsvr32 /u with the 32-bit DLL registered"
wine reg delete "$machine\\$win32" /f >/dev/null 2>&1
wine regsvr32 /u /s 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1
expect_keys "$machine" 0 "regsvr32 /u"
wine reg query "$machine\\TypeLib\\$libid" >/dev/null 2>&1 && fail "the type library key is left" || pass

# Without administrator rights: the same keys for the current user alone, and gone again.
if wine regsvr32 /s /n /i:user 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1; then pass; else fail "regsvr32 /n /i:user"; fi
expect_keys "$user" "${#keys[@]}" "regsvr32 /n /i:user"
expect_keys "$machine" 0 "regsvr32 /n /i:user, machine-wide"
wine regsvr32 /u /s /n /i:user 'C:\zv\ZivoviViruvov.dll' >/dev/null 2>&1
expect_keys "$user" 0 "regsvr32 /u /n /i:user"
wine reg query "$user\\TypeLib\\$libid" >/dev/null 2>&1 && fail "the user's type library key is left" || pass

echo "wine: $passed passed, $failed failed"
((failed == 0))
