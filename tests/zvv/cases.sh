#!/usr/bin/env bash
# zvv command-line cases: each row is the arguments, the exact output and the exit code.
set -uo pipefail
zvv=$1
passed=0 failed=0

check() {  # check EXPECTED_EXIT EXPECTED_OUTPUT ARG...
  local want_exit=$1 want_out=$2
  shift 2
  local out rc
  out=$("$zvv" "$@" 2>&1)
  rc=$?
  if [[ $rc == "$want_exit" && $out == "$want_out" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL: zvv %s\n  exit %s (want %s)\n  got:  %q\n  want: %q\n' "$*" "$rc" "$want_exit" "$out" "$want_out"
  fi
}

check 0 "/tmp/" call ZivoviViruvov.FileLib CheckPath /tmp
check 0 "/tmp/" call zivoviviruvov.filelib checkpath thePath:=/tmp
check 0 "" call ZivoviViruvov.FileLib CheckPath "   "
check 0 "/tmp" call ZivoviViruvov.FileLib UnCheckPath /tmp/
check 0 "True" call ZivoviViruvov.FileLib isDirectoryExist /
check 0 "False" call ZivoviViruvov.FileLib isFileExist /
check 0 "True" call "{0D0802EE-D1BA-43DD-BC57-0CC901E420EE}" isDirectoryExist /tmp
check 1 "Error 449: Argument not optional" call ZivoviViruvov.FileLib CheckPath
check 1 "Error 450: Wrong number of arguments or invalid property assignment" call ZivoviViruvov.FileLib CheckPath a b
check 1 "Error 448: Named argument not found" call ZivoviViruvov.FileLib CheckPath nope:=/tmp
check 1 "Error 438: Object doesn't support this property or method: FileLib.CopyFile is not available in this version" \
  call ZivoviViruvov.FileLib CopyFile /a /b
check 1 "Error 429: ActiveX component can't create object: ZivoviViruvov.COpSysInfo" \
  call ZivoviViruvov.COpSysInfo Version

# Archives: zip, list and extract in a scratch folder, the messages as Info-ZIP words them.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/in/docs"
printf 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\n' >"$scratch/in/docs/a.txt"
touch -d '2024-03-05 14:30:00' "$scratch/in/docs/a.txt"
cd "$scratch/in"
check 0 $'  adding: docs/ (stored 0%)\n  adding: docs/a.txt (deflated 92%)' zip ../a.zip docs
check 0 $'  Length      Date    Time    Name\n---------  ---------- -----   ----\n       93  2024-03-05 14:30   docs/a.txt\n---------                     -------\n       93                     1 file' \
  unzip -l ../a.zip
check 0 $'Archive:  ../a.zip\n   creating: docs/\n  inflating: docs/a.txt' unzip ../a.zip ../out
check 1 $'zip warning: name not matched: missing\nzip error: Nothing to do! (../b.zip)' zip ../b.zip missing
check 1 "error:  cannot find or open ../b.zip" unzip -l ../b.zip
cd - >/dev/null
if cmp -s "$scratch/in/docs/a.txt" "$scratch/out/docs/a.txt"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: zvv unzip gave other bytes"; fi

classes=$("$zvv" list | grep -c '^Class ')
if [[ $classes == 17 ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: zvv list shows $classes classes"; fi
members=$("$zvv" list StrChr | grep -c '^  ')
if [[ $members == 24 ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: zvv list StrChr shows $members members"; fi

echo "zvv: $passed passed, $failed failed"
[[ $failed == 0 ]]
