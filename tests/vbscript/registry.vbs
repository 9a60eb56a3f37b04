' RegistryLib against the Wine registry: values written, read, listed, searched and
' deleted. The values under HKCU\Software\ZivoviViruvovTest stay for run.sh's
' "wine reg query" check.

Const HKCU = -2147483647
Const HKLM = -2147483646
Dim r, sh, base, values, list
Set r = CreateObject("ZivoviViruvov.RegistryLib")
Set sh = CreateObject("WScript.Shell")
base = "Software\ZivoviViruvovTest"

On Error Resume Next

' Written without its NUL, which the registry adds: the plain read drops that last byte.
r.WriteRegistryCurrentUser base, "Name", "Hello"
Check r.ReadRegistryCurrentUser(base, "Name") = "Hello", "plain read of a text"
r.WriteRegistry CStr(HKCU), base, "Accent", "Caf" & Chr(233)
Check sh.RegRead("HKCU\" & base & "\Accent") = "Caf" & Chr(233), "ANSI text reaches the registry"

' Typed reads under HKEY_LOCAL_MACHINE: a string, a DWORD written by the shell.
r.WriteRegistryMachine base & "\Sub\Deep", "Kind", "leaf"
sh.RegWrite "HKLM\" & base & "\Sub\Count", 42, "REG_DWORD"
Check r.ReadRegistryMachine(base & "\Sub", "Count") = "42", "DWORD read as decimal text"
Check r.ReadRegistryMachine(base & "\Sub", "") = "0", "an existing key gives 0"
Check r.ReadRegistryMachine(base & "\Sub\Deep", "kind") = "leaf", "value names ignore case"
Check r.isKeySectionExists(HKLM, base & "\Sub"), "isKeySectionExists of an existing key"

values = r.EnumerateRegistryValues(base & "\Sub", HKLM)
Check UBound(values) = 1, "one value in Sub"
Check values(1)(0) = "Count" And values(1)(1) = "&H2A" And values(1)(2) = "REG_DWORD", _
  "the DWORD enumerated as &H2A"

' Subkeys in name order, the exclusion compared without case.
r.WriteRegistryMachine base & "\Tree\beta", "x", "1"
r.WriteRegistryMachine base & "\Tree\Alpha", "x", "1"
r.WriteRegistryMachine base & "\Tree\MicroSoft", "x", "1"
Set list = New FakeListBox
r.ListKeysOfTree list, base & "\Tree"
Check list.Items = "Alpha;beta;MicroSoft;", "ListKeysOfTree: " & list.Items
Set list = New FakeListBox
r.ListKeysOfTree list, base & "\Tree", "micro"
Check list.Items = "Alpha;beta;", "ListKeysOfTree with an exclusion: " & list.Items

' The search returns the value beside the match.
r.WriteRegistryMachine base & "\Tree\beta", "Id", "found-it"
Check r.FindRegistryMachine(base, "ID", "FOUND-IT", "x") = "1", "FindRegistryMachine"
Check r.FindRegistryMachine(base, "x", "1", "Id") = "", "the last match wins (MicroSoft, no Id)"

' A file association, then its type and open command.
r.CreateFileAssociation ".zvtest", "ZvApp", "C:\ZvApp\app.exe", "ZvApp file", , 2
Check r.GetFileType(".zvtest") = "ZvApp.Document", "GetFileType"
Check r.ReadRegistryRootShell("ZvApp.Document") = "C:\ZvApp\app.exe %1", "open command"
Check r.ReadRegistryRoot("ZvApp.Document\DefaultIcon", "") = "C:\ZvApp\app.exe,2", "icon"
Check r.GetFileType(".zvnothing") = "", "an extension with no registration"
Check r.isKeySectionExists(-2147483648, ".zvnothing"), "GetFileType left the key"

Check r.DeleteValueKeyMachine(base & "\Sub\Deep", "Kind"), "delete a value"
Check Not r.DeleteValueKeyMachine(base & "\Sub\Deep", "Kind"), "delete it again"
Check r.ReadRegistryMachine(base & "\Sub\Deep", "Kind") = "", "the value is gone"

Dim info
Set info = CreateObject("ZivoviViruvov.SystemLib")
info.GetWindowsVersion
Check info.WindowsSystem = "Windows NT", "WindowsSystem: " & info.WindowsSystem
Check InStr(info.WindowsVersion, "(Build ") > 0, "WindowsVersion: " & info.WindowsVersion

Expect 0, "the last error"
Finish 0
