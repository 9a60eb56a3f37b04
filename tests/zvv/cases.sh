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
# Control characters come out visibly and completely (a NUL would end the line).
check 0 '\0\0\0A' call ZivoviViruvov.StrChr Long2String 65
check 0 $'a\\x01b\tc' call ZivoviViruvov.StrChr GetLeft $'a\x01b\tc|d' '|'
# The list-view and tree-view models in their compact forms, printed back after the call.
check 0 $'3\ntheList = ListView(City;Country|Paris;France|[x]{r}Rome;Italy|Oslo)\naddIt = True' \
  call ZivoviViruvov.LstViewLib FindItemFromText '@ListView=City;Country|Paris;France|[x]{r}Rome;Italy' Oslo addIt:=True
check 0 $'True\ntheListView = ListView(B;A|b;a|;c)' \
  call ZivoviViruvov.LstViewLib isSwitchColumnsAndHeaders '@ListView=A;B|a;b|c' 1 2
check 0 'theBar = TreeView({eu}Europe|>{fr}France|>>Paris|>Spain|Asia)' \
  call ZivoviViruvov.ProgressLib SetProgressBar '@TreeView={eu}Europe|>{fr}France|>>Paris|>Spain|Asia'
check 1 'Error 35602: Key is not unique in collection' call ZivoviViruvov.LstViewLib FindItemFromText '@ListView=A|{k}a|{k}b' a
check 0 $'R\\1a\ntheTree = TreeView({R}Root|>{R\\a}b|>{R\\1a}a)' \
  call ZivoviViruvov.TrViewLib CreateChildNode '@TreeView={R}Root|>{R\a}b' R a ''
check 0 $'3\ntrViewObj = TreeView({R}Root|>{R\\a}Beta|>{R\\b}Alpha)' \
  call ZivoviViruvov.TrViewLib FindChildFromText '@TreeView={R}Root|>{R\a}Beta|>{R\b}Alpha' R Alpha

classes=$("$zvv" list | grep -c '^Class ')
if [[ $classes == 17 ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: zvv list shows $classes classes"; fi
members=$("$zvv" list StrChr | grep -c '^  ')
if [[ $members == 24 ]]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: zvv list StrChr shows $members members"; fi

echo "zvv: $passed passed, $failed failed"
[[ $failed == 0 ]]
