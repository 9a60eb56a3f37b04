' Every creatable class comes from CreateObject; the private class does not.
Dim names, n, o

names = Array("LangueLib", "StrChr", "FileLib", "TimeLib", "RegistryLib", "RTFlib", _
              "SystemLib", "LstViewLib", "TrViewLib", "InternetLib", "ZipLib", "UnZipLib", _
              "HTMlib", "ProgressLib", "MoneyLib", "FlexGridLib")
On Error Resume Next
For Each n In names
  Err.Clear
  Set o = Nothing
  Set o = CreateObject("ZivoviViruvov." & n)
  Check Err.Number = 0 And IsObject(o), "CreateObject ZivoviViruvov." & n & ": " & Err.Number
  Check TypeName(o) = "_" & n, "TypeName of " & n & " is " & TypeName(o)
Next

' ProgIDs are case-insensitive, as the registry's keys are.
Err.Clear
Set o = CreateObject("zivoviviruvov.filelib")
Check Err.Number = 0, "CreateObject zivoviviruvov.filelib: " & Err.Number

Err.Clear
Set o = CreateObject("ZivoviViruvov.COpSysInfo")
Check Err.Number = 429, "COpSysInfo is not creatable: " & Err.Number

' Two instances are two objects.
Dim a, b
Set a = CreateObject("ZivoviViruvov.StrChr")
Set b = CreateObject("ZivoviViruvov.StrChr")
Check Not (a Is b), "two instances are distinct"

WScript.Echo passed & " passed, " & failed & " failed"
WScript.Quit failed
