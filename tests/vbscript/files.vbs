' FileLib's existence tests on Windows paths, with hidden and system files made by attrib.

Dim f, sh, folder, fso, c
Set f = CreateObject("ZivoviViruvov.FileLib")
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
folder = "C:\zv\exist\"
If Not fso.FolderExists(folder) Then fso.CreateFolder "C:\zv\exist"
For Each c In Array("plain", "hidden", "system")
  fso.CreateTextFile(folder & c & ".txt", True).Close
Next
sh.Run "attrib +h " & folder & "hidden.txt", 0, True
sh.Run "attrib +s " & folder & "system.txt", 0, True

Check fso.GetFile(folder & "hidden.txt").Attributes And 2, "attrib made hidden.txt hidden"
Check fso.GetFile(folder & "system.txt").Attributes And 4, "attrib made system.txt a system file"
' Name and whether it counts: hidden and system files do not, alone nor through a wildcard.
For Each c In Array("plain.txt 1", "hidden.txt 0", "system.txt 0", "p*.txt 1", "h*.txt 0", "*.* 1")
  c = Split(c)
  Check f.isFileExist(folder & c(0)) = (c(1) = "1"), "isFileExist " & c(0)
Next
Check Not f.isDirectoryExist(folder & "plain.txt"), "a file is no folder"
Finish 0
