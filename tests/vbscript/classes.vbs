' Every creatable class comes from CreateObject (the private one's 429 is in tests/cases).
Dim n, o, a, b

On Error Resume Next
For Each n In Array("LangueLib", "StrChr", "FileLib", "TimeLib", "RegistryLib", "RTFlib", _
    "SystemLib", "LstViewLib", "TrViewLib", "InternetLib", "ZipLib", "UnZipLib", "HTMlib", _
    "ProgressLib", "MoneyLib", "FlexGridLib")
  Set o = Nothing
  Set o = CreateObject("ZivoviViruvov." & n)
  Expect 0, "CreateObject ZivoviViruvov." & n
  Check TypeName(o) = "_" & n, "TypeName of " & n & " is " & TypeName(o)
Next

' ProgIDs are case-insensitive, as the registry's keys are.
Set o = CreateObject("zivoviviruvov.filelib")
Expect 0, "CreateObject zivoviviruvov.filelib"

' Two instances are two objects.
Set a = CreateObject("ZivoviViruvov.StrChr")
Set b = CreateObject("ZivoviViruvov.StrChr")
Check Not (a Is b), "two instances are distinct"
Finish 0
