#!/usr/bin/env bash
# zvv command-line cases: each row is the arguments, the exact output and the exit code.
set -uo pipefail
zvv=$1
passed=0 failed=0
# A scratch home, registry store and peers folder: nothing of the user's is read or written.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/.local/share"
export XDG_CONFIG_HOME="$scratch/home/.config" ZV_REGISTRY="$scratch/registry.db" ZV_PPP_PEERS="$scratch/peers"

same() {  # same WHAT GOT WANT
  if [[ $2 == "$3" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL: %s\n  got:  %q\n  want: %q\n' "$1" "$2" "$3"
  fi
}

check() {  # check EXPECTED_EXIT EXPECTED_OUTPUT ARG...
  local want_exit=$1 want_out=$2 out
  shift 2
  out=$("$zvv" "$@" 2>&1)
  same "zvv $*" "exit $?: $out" "exit $want_exit: $want_out"
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
"$zvv" call ZivoviViruvov.TrViewLib TreeViewToXMLfile "@TreeView={r}Root|>{c}Café & <co>" "$scratch/t.xml" >/dev/null
check 0 "$scratch/t.xml: 2 nodes, 1 roots" tree-xml "$scratch/t.xml"
check 1 "zvv: $scratch/none.xml: not a tree XML file the library loads" tree-xml "$scratch/none.xml"
check 0 "False" call ZivoviViruvov.FileLib CopyFile /nowhere/a /nowhere/b
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
# Subtree moves, notes and the grid helper (whose properties a single call never sets).
check 0 $'True\ntheMainTree = TreeView({R}Root|>{R\\b}b|>>{R\\b\\a}a|>>{R\\b\\1a}a|>>>{R\\b\\1a\\x}x)' \
  call ZivoviViruvov.TrViewLib SubTreeMove '@TreeView={R}Root|>{R\a}a|>>{R\a\x}x|>{R\b}b|>>{R\b\a}a' 'R\a' 'R\b'
check 0 $'True\ntheTreeView = TreeView({R}Root|>{R\\Memo}Memo|>>{R\\Memo\\one}one|>>{R\\Memo\\two}two)\ntheTextBox = TextBox()' \
  call ZivoviViruvov.TrViewLib AddNodeFromTextBox '@TreeView={R}Root' $'@TextBox=one\r\n\r\ntwo' R Memo '' '' ''
check 0 $'False\ntmpListViewView = ListView(A|a)\ntheFlexGrid = Nothing' \
  call ZivoviViruvov.FlexGridLib ListViewToFlexGrid '@ListView=A|a' Nothing

# A record parameter is passed empty and printed one field a line.
check 0 $'RegOwner = \nRegCompany = \nProduct = Windows NT\nCSDVersion = \nVersion = \nVersionNo = \nSubVersionNo = \nProductId = \nPlus = \nPlusId = ' \
  call ZivoviViruvov.SystemLib GetWindowsInformation
check 0 "" call ZivoviViruvov.RegistryLib WriteRegistryCurrentUser 'Software\Zvv' Name "a \"quoted\" value"
check 0 "" reg export 'HKEY_CURRENT_USER\Software\Zvv' "$scratch/zvv.reg"
same "zvv reg export" "$(iconv -f UTF-16 -t UTF-8 "$scratch/zvv.reg" | tr -d '\r')" \
  $'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Zvv]\n"Name"="a \\"quoted\\" value"'
check 1 "zvv: no key HKCU\Software\None" reg export 'HKCU\Software\None' "$scratch/none.reg"
check 2 "usage: zvv reg import FILE.reg | zvv reg export KEY FILE.reg" reg list
# Archives: zip, list and extract in a scratch folder, the messages as Info-ZIP words them.
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
cmp -s "$scratch/in/docs/a.txt" "$scratch/out/docs/a.txt"
same "the bytes zvv unzip wrote" $? 0

# zvv convert: delimited text into a list-view model and out again, by extension or --to.
printf 'City;Sales\r\nZ\xfcrich;12\r\nLyon;\r\n' >"$scratch/sales.txt"
check 0 "$scratch/sales.csv: 2 rows, 2 columns" convert --separator ";" "$scratch/sales.txt" "$scratch/sales.csv"
same "zvv convert" "$(cat "$scratch/sales.csv")" $'"City","Sales"\r\n"Z\xfcrich","12"\r\n"Lyon",""\r'
check 0 "$scratch/s.out: 2 rows, 2 columns" convert --to xml --separator ";" "$scratch/sales.txt" "$scratch/s.out"
check 2 "$("$zvv" convert 2>&1)" convert "$scratch/sales.txt" "$scratch/sales.pdf"
check 1 $'zvv: Error on data file reading: 2\t0\r\n\r\n'"$scratch/none.csv"$'\nzvv: could not load '"$scratch/none.csv" \
  convert "$scratch/none.csv" "$scratch/none.xml"

same "classes zvv list shows" "$("$zvv" list | grep -c '^Class ')" 17
same "members zvv list StrChr shows" "$("$zvv" list StrChr | grep -c '^  ')" 24

echo "zvv: $passed passed, $failed failed"
[[ $failed == 0 ]]
