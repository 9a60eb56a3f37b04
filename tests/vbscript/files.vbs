' FileLib's existence tests on Windows paths, with hidden and system files made by attrib.

Dim f, sh, folder, fso
Set f = CreateObject("ZivoviViruvov.FileLib")
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
folder = "C:\zv\exist"
If Not fso.FolderExists(folder) Then fso.CreateFolder folder
fso.CreateTextFile(folder & "\plain.txt", True).Close
fso.CreateTextFile(folder & "\hidden.txt", True).Close
fso.CreateTextFile(folder & "\system.txt", True).Close
sh.Run "attrib +h " & folder & "\hidden.txt", 0, True
sh.Run "attrib +s " & folder & "\system.txt", 0, True

Check fso.GetFile(folder & "\hidden.txt").Attributes And 2, "attrib made hidden.txt hidden"
Check fso.GetFile(folder & "\system.txt").Attributes And 4, "attrib made system.txt a system file"
Check f.isFileExist(folder & "\plain.txt"), "a plain file exists"
Check Not f.isFileExist(folder & "\hidden.txt"), "a hidden file does not count"
Check Not f.isFileExist(folder & "\system.txt"), "a system file does not count"
Check f.isFileExist(folder & "\p*.txt"), "wildcard finds plain.txt"
Check Not f.isFileExist(folder & "\h*.txt"), "wildcard skips the hidden file"
Check f.isFileExist(folder & "\*.*"), "*.* finds a file"
Check Not f.isDirectoryExist(folder & "\plain.txt"), "a file is no folder"
Check f.UnCheckPath(folder & "\\") = folder & "\", "UnCheckPath removes one backslash"

WScript.Echo passed & " passed, " & failed & " failed"
WScript.Quit failed
