' ZipLib and UnZipLib from VBScript, their events arriving through connection points: a
' round trip, freshen and update by file times, the listing, the name-list limit,
' cancelling and the hostile archives written into C:\zv\hostile by
' tests/cases/hostile_archives.py, on Windows paths. The archives left in C:\zv\archives
' go through Info-ZIP's unzip -t afterwards. Passwords, overwrite answers, selections and
' deletes run from Python (tests/python/test_archive.py), the by-reference answers through
' COM in tests/wine/events_test.cpp.

' What the events of both objects brought, and what the handlers answer.
Dim progress, cancels, passwords, cancelAt
Sub ResetEvents()
  progress = "|"
  cancels = 0
  passwords = 0
End Sub
Sub a_Progress(lCount, sMsg)
  progress = progress & lCount & ":" & sMsg & "|"
End Sub
Sub a_Cancel(sMsg, bCancel)
  cancels = cancels + 1
  If sMsg = cancelAt Then bCancel = True
End Sub
Sub a_PasswordRequest(sPassword, bCancel)
  passwords = passwords + 1
End Sub

Function Said(text)
  Said = InStr(progress, "|1:" & text & "|") > 0
End Function

Dim fso, src, arc, out, z, u, r, i
Set fso = CreateObject("Scripting.FileSystemObject")
src = "C:\zv\arch"
arc = "C:\zv\archives"
out = "C:\zv\unzipped"
If Not fso.FolderExists(src) Then fso.CreateFolder src
If Not fso.FolderExists(src & "\sub") Then fso.CreateFolder src & "\sub"
If Not fso.FolderExists(arc) Then fso.CreateFolder arc

Sub WriteText(path, text)
  Dim f
  Set f = fso.CreateTextFile(path, True)
  f.Write text
  f.Close
End Sub

WriteText src & "\a.txt", String(500, "a") & vbCrLf
WriteText src & "\sub\b.txt", "b" & vbCrLf
WriteText src & "\caf" & Chr(233) & ".txt", "accent" & vbCrLf

Set z = WScript.CreateObject("ZivoviViruvov.ZipLib", "a_")
Set u = WScript.CreateObject("ZivoviViruvov.UnZipLib", "a_")
On Error Resume Next

' A round trip without a password: messages with "\", the listing, the files back.
ResetEvents
z.BasePath = src
z.ZipFile = arc & "\plain.zip"
z.RecurseSubDirs = True
z.StoreFolderNames = True
z.AddFileSpec "*"
z.Zip
Check Err.Number = 0, "Zip: " & Err.Description
Check Said("  adding: a.txt (deflated 98%)"), "adding a.txt: " & progress
Check Said("  adding: sub\b.txt (stored 0%)"), "adding sub\b.txt: " & progress
Check cancels = 3 And passwords = 0, "Cancel asked per entry: " & cancels & ", " & passwords
u.ZipFile = arc & "\plain.zip"
Check u.Directory() = 0 And u.FileCount = 3, "listing: " & u.FileCount
For i = 1 To u.FileCount
  If u.Filename(i) = "b.txt" Then
    Check u.FileDirectory(i) = "sub" And u.FileSize(i) = 3 And u.FileCRC(i) <> 0, "b.txt listed"
  End If
  Check u.FilePackedSize(i) = u.FileSize(i) * u.FileCompressionRatio(i) \ 100, "FilePackedSize " & i
  Check Not u.FileEncrypted(i) And u.FileSelected(i), "flags of " & i
Next
ResetEvents
u.UnzipFolder = out & "\all"
u.UseFolderNames = True
Check u.Unzip() = False, "Unzip of the whole archive: " & progress
Check FileText(out & "\all\sub\b.txt") = "b" & vbCrLf, "sub\b.txt back"
Check FileText(out & "\all\caf" & Chr(233) & ".txt") = "accent" & vbCrLf, "accented name back"
Check Said("  inflating: a.txt"), "inflating a.txt: " & progress

' Freshen and update by date: a.txt changed, c.txt new.
WScript.Sleep 2100
WriteText src & "\a.txt", "changed"
WriteText src & "\c.txt", "new"
ResetEvents
z.ZipFile = arc & "\plain.zip"
z.FreshenFiles = True
z.Zip
Check Said("freshening: a.txt (stored 0%)") And InStr(progress, "c.txt") = 0, "freshen: " & progress
z.FreshenFiles = False
ResetEvents
z.UpdateOnlyIfNewer = True
z.Zip
Check Said("  adding: c.txt (stored 0%)") And InStr(progress, "a.txt") = 0, "update: " & progress
z.UpdateOnlyIfNewer = False

' Cancel from the Cancel event: the archive is not written.
ResetEvents
cancelAt = "sub/b.txt"
z.ZipFile = arc & "\cancelled.zip"
z.Zip
cancelAt = ""
Check Not fso.FileExists(arc & "\cancelled.zip") And Said("zip error: Interrupted (aborting)"), _
  "cancelled: " & progress

' The limit of the name list: 1024 selected names fail with error 9, 1023 pass.
Err.Clear
u.ZipFile = "C:\zv\hostile\many.zip"
u.Directory
Check u.FileCount = 1025, "1025 entries listed: " & u.FileCount
u.FileSelected(1) = False
u.UnzipFolder = out & "\many"
r = u.Unzip()
Check Err.Number = 9 And Err.Source = "ZivoviViruvov.LIB_UNZIP", "1024 names: " & Err.Number & " " & Err.Source
Err.Clear
u.FileSelected(2) = False
Check u.Unzip() = False And Err.Number = 0, "1023 names: " & Err.Number
Check fso.GetFolder(out & "\many").Files.Count = 1023, "1023 files extracted"

' Hostile archives: nothing leaves the extraction folder, nothing half-written stays. The
' archives that fail before anything is written are read the same way from Python.
Dim hostile
For Each hostile In Array(Array("slip.zip", "skipping: ..\evil.txt  path leads outside the extraction folder"), _
    Array("symlink.zip", "skipping: link  symbolic link leads outside"), _
    Array("bomb.zip", "skipping: bomb.bin  compression ratio above 1000:1"), Array("damaged.zip", "bad.txt  bad CRC"))
  ResetEvents
  u.ZipFile = "C:\zv\hostile\" & hostile(0)
  u.UnzipFolder = "C:\zv\hostile\out\" & hostile(0)
  Check u.Unzip() = True And InStr(progress, hostile(1)) > 0, hostile(0) & " fails: " & progress
Next
Check Not fso.FileExists("C:\zv\hostile\evil.txt") And Not fso.FileExists("C:\zv\hostile\out\evil.txt") _
  And Not fso.FileExists("C:\abs.txt") And Not fso.FileExists("C:\drive.txt"), "no file outside"
Check fso.FileExists("C:\zv\hostile\out\slip.zip\ok.txt"), "the safe entry of slip.zip"
Check fso.GetFolder("C:\zv\hostile\out\damaged.zip").Files.Count = 1, "only good.txt, no partial file"
Check Not fso.FileExists("C:\zv\hostile\out\bomb.zip\bomb.bin"), "no bomb output"

' The unarchiver's version.
Dim major, minor, revision, built, extra
u.GetZipVersion major, minor, revision, built, extra
Check major = 49 And minor = 0 And revision = 0, "version " & major & "." & minor & "." & revision
Check extra = "release" And built = DateSerial(2026, 12, 1), "version texts: " & extra & " " & built

WScript.Echo passed & " passed, " & failed & " failed"
WScript.Quit failed
