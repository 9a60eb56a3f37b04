' SystemLib and FileLib on the Windows face: the system report, folders and names, and
' the bytes of text files.

Dim sys, f, fso, sh, text, title, box, name
Set sys = CreateObject("ZivoviViruvov.SystemLib")
Set f = CreateObject("ZivoviViruvov.FileLib")
Set fso = CreateObject("Scripting.FileSystemObject")
Set sh = CreateObject("WScript.Shell")

On Error Resume Next

' Every section of the report has its header, whatever the queries answer.
sys.HostConfig "C:\zv\host.txt"
text = fso.OpenTextFile("C:\zv\host.txt").ReadAll
For Each title In Array("Systeme d'exploitation", "Systeme ordinateur", "Syteme BIOS", _
    "Processus", "Disponibilit" & Chr(233) & " RAM", "CD ROM", "Connexion reseau", "NIC", _
    "Utilisateur")
  Check InStr(text, String(30, "#") & vbCrLf & title & " : " & vbCrLf) > 0, "report section " & title
Next
Check InStr(text, String(30, "#") & vbCrLf & "Processeur : " & vbTab & vbTab) > 0, _
  "the processor section has no title"
Check InStr(text, "Nom de l'OS : " & vbTab & vbTab) > 0, "an item line of the first section"

Check sys.GetUserName() = sh.ExpandEnvironmentStrings("%USERNAME%"), "GetUserName: " & sys.GetUserName()
Check sys.GetComputerName() = sh.ExpandEnvironmentStrings("%COMPUTERNAME%"), _
  "GetComputerName: " & sys.GetComputerName()

' A text box saved, read back by line and whole, and loaded again.
Set box = New FakeTextBox
box.Text = "a" & vbCrLf & "b"
Check f.SaveTextBoxContent("C:\zv\box.txt", box), "SaveTextBoxContent"
Check fso.OpenTextFile("C:\zv\box.txt").ReadAll = "a" & vbCr & vbCrLf & "b" & vbCrLf, "saved bytes"
Check f.GetThisLineFile("C:\zv\box.txt", 5) = "b", "a line past the end gives the last"
Check f.GetFileContent("C:\zv\box.txt") = "a" & vbCrLf & vbCrLf & "b", "GetFileContent"
Check f.GetLineIfTextExist("C:\zv\box.txt", "b") = "b", "GetLineIfTextExist"
box.Text = "old"
Check f.PutInTextBox("C:\zv\box.txt", box), "PutInTextBox"
Check box.Text = "a" & vbCrLf & "b", "the text comes back: " & box.Text

Check f.CopyFileWithNewSuffix("C:\zv\box.txt", ".bak", "C:\zv\copies"), "copy with a new suffix"
Check f.isFileExist("C:\zv\copies\box.bak"), "the copy exists"
Check f.DeleteFile("C:\zv\copies\box.bak", True), "DeleteFile"
Check Not f.isFileExist("C:\zv\copies\box.bak"), "the copy is gone"
name = f.GetTempFileName()
Check Left(name, Len(f.CheckPath(fso.GetSpecialFolder(2).Path)) + 4) = _
  f.CheckPath(fso.GetSpecialFolder(2).Path) & "~tmp", "GetTempFileName: " & name
Check name <> f.GetTempFileName(), "two temporary names in a row differ"

Expect 0, "the last error"
Finish 0
