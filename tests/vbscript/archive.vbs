' ZipLib and UnZipLib from VBScript, their events arriving through connection points:
' round trips with and without a password, freshen, update, delete, the listing, the
' name-list limits, overwrite prompts, cancelling and the hostile archives written into
' C:\zv\hostile by tests/cases/hostile_archives.py. The archives left in C:\zv\archives
' go through Info-ZIP's unzip -t afterwards.

' What the events of both objects brought, and what the handlers answer.
Dim progress, cancels, passwords, prompts, cancelAt, answerPassword, answerOverwrite
Sub ResetEvents()
  progress = "|"
  cancels = 0
  passwords = 0
  prompts = 0
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
  sPassword = answerPassword
End Sub
Sub a_OverwritePrompt(sFIle, eResponse)
  prompts = prompts + 1
  eResponse = answerOverwrite
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
Function ReadText(path)
  ReadText = Empty
  If fso.FileExists(path) Then ReadText = fso.OpenTextFile(path).ReadAll
End Function

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
Check u.Directory() = 0 And u.FileCount = 6, "a second Directory appends: " & u.FileCount
u.ZipFile = arc & "\plain.zip"
Check u.FileCount = 0, "setting ZipFile empties the directory"
ResetEvents
u.UnzipFolder = out & "\all"
u.UseFolderNames = True
Check u.Unzip() = False, "Unzip of the whole archive: " & progress
Check ReadText(out & "\all\sub\b.txt") = "b" & vbCrLf, "sub\b.txt back"
Check ReadText(out & "\all\caf" & Chr(233) & ".txt") = "accent" & vbCrLf, "accented name back"
Check Said("  inflating: a.txt"), "inflating a.txt: " & progress

' Overwrite prompts: keep, then all.
WriteText out & "\all\a.txt", "mine"
ResetEvents
u.PromptToOverwrite = True
answerOverwrite = 100
u.Unzip
Check prompts = 3 And ReadText(out & "\all\a.txt") = "mine", "kept on 100: " & prompts
ResetEvents
answerOverwrite = 103
u.Unzip
Check prompts = 1 And Len(ReadText(out & "\all\a.txt")) = 502, "all replaced on 103: " & prompts

' Selected entries only.
u.ZipFile = arc & "\plain.zip"
u.Directory
For i = 1 To u.FileCount
  u.FileSelected(i) = (u.Filename(i) = "b.txt")
Next
u.UnzipFolder = out & "\picked"
u.Unzip
Check fso.FileExists(out & "\picked\sub\b.txt") And Not fso.FileExists(out & "\picked\a.txt"), _
  "only the selected entry"

' A round trip with a password: one request each way, the entries marked encrypted.
ResetEvents
answerPassword = "secret"
z.Encrypt = True
z.ZipFile = arc & "\secret.zip"
z.Zip
Check passwords = 1 And z.Encrpyt, "one PasswordRequest when zipping: " & passwords
z.Encrypt = False
u.ZipFile = arc & "\secret.zip"
u.Directory
Check u.FileCount = 3 And u.FileEncrypted(1), "encrypted entries listed"
ResetEvents
u.UnzipFolder = out & "\secret"
u.PromptToOverwrite = False
Check u.Unzip() = False And passwords = 1, "Unzip with the password: " & passwords & progress
Check Len(ReadText(out & "\secret\a.txt")) = 502, "a.txt decrypted"
ResetEvents
answerPassword = ""
u.UnzipFolder = out & "\nopassword"
Check u.Unzip() = True And passwords = 1, "an empty answer ends the asking: " & passwords
Check Not fso.FileExists(out & "\nopassword\a.txt"), "nothing extracted without the password"

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

' Delete one entry.
ResetEvents
z.ClearFileSpecs
z.AddFileSpec "c.txt"
z.Delete
Check Said("deleting: c.txt"), "delete: " & progress
u.ZipFile = arc & "\plain.zip"
u.Directory
Check u.FileCount = 3, "three entries after the delete: " & u.FileCount

' Cancel from the Cancel event: the archive is not written.
ResetEvents
cancelAt = "sub/b.txt"
z.ClearFileSpecs
z.AddFileSpec "*"
z.ZipFile = arc & "\cancelled.zip"
z.Zip
cancelAt = ""
Check Not fso.FileExists(arc & "\cancelled.zip") And Said("zip error: Interrupted (aborting)"), _
  "cancelled: " & progress

' The limits of the name lists: 1023 names pass, 1024 fail with error 9.
z.ClearFileSpecs
For i = 1 To 1024
  z.AddFileSpec "none" & i
Next
Err.Clear
z.ZipFile = arc & "\limit.zip"
z.Zip
Check Err.Number = 9, "1024 file specs: error " & Err.Number
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

' Hostile archives: nothing leaves the extraction folder, nothing half-written stays.
Dim hostile
For Each hostile In Array(Array("slip.zip", "skipping: ..\evil.txt  path leads outside the extraction folder"), _
    Array("symlink.zip", "skipping: link  symbolic link leads outside"), _
    Array("bomb.zip", "skipping: bomb.bin  compression ratio above 1000:1"), _
    Array("overlap.zip", "overlapped components (possible zip bomb)"), _
    Array("past_end.zip", "start of central directory not found"), Array("damaged.zip", "bad.txt  bad CRC"), _
    Array("truncated.zip", "End-of-central-directory signature not found"))
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
