' LstViewLib's files from VBScript on the list-view model: the exports of the shared sample
' give the expected files (C:\zv\listview), the import shows its boxes, and a list-view
' goes to delimited text and back.
Dim fso, folder
Set fso = CreateObject("Scripting.FileSystemObject")
folder = fso.GetParentFolderName(WScript.ScriptFullName) & "\"

Function Sample()
  Dim lv, row, cells, i, k
  Set lv = CreateObject("ZivoviViruvov.Models.ListView")
  lv.ColumnHeaders.Add , , "Nom", , 0
  lv.ColumnHeaders.Add , , "Ville", , 2
  lv.ColumnHeaders.Add , , "Note", , 1
  cells = Array("Caf" & Chr(233), "Zo" & Chr(235), "", Chr(196) & "rger & Co", "Lyon", "a<b", _
                "", "", "12 " & Chr(128))
  For i = 0 To 2
    Set row = lv.ListItems.Add(, , cells(3 * i))
    For k = 1 To 2
      row.SubItems(k) = cells(3 * i + k)
    Next
  Next
  lv.ListItems(1).ListSubItems(1).Bold = True
  lv.ListItems(2).Bold = True
  lv.ListItems(2).ListSubItems(1).ForeColor = 255
  Set Sample = lv
End Function

Sub Exported(name, ok)
  Check ok = True, name & " written"
  Check FileText(folder & name) = FileText(folder & "listview\" & name), name & " bytes: " & FileText(folder & name)
End Sub

Dim lib, lv, back, r, boxes
Set lib = CreateObject("ZivoviViruvov.LstViewLib")
On Error Resume Next
TakeBoxes
Set lv = Sample()
Exported "sample_table.html", lib.AppendListViewToHTML(folder & "sample_table.html", lv, _
    "Villes " & Chr(233) & "t" & Chr(233), False, "silver", "#EEEEEE", "white", "Arial")
Exported "sample.xml", lib.ListViewToXMLfile(folder & "sample.xml", lv)
Exported "sample_tags.xml", lib.ListViewToXMLfile(folder & "sample_tags.xml", lv, False, True, 3)
Exported "sample.csv", lib.ListViewToASCII(folder & "sample.csv", lv, ";", """", False, "", "", 0, _
    "Nom;Ville;Note")
Exported "sample_columns.txt", lib.ListViewToASCII(folder & "sample_columns.txt", lv, vbTab, "", _
    False, "id", "end", 1)
Check TakeBoxes() = "", "the exports show no box"

' Back from the delimited text.
Set back = CreateObject("ZivoviViruvov.Models.ListView")
r = lib.LoadListViewFromASCII(folder & "sample.csv", back, True, True, False, False, False, ";")
Check r = True, "LoadListViewFromASCII: " & Err.Description
Check back.ColumnHeaders(3).Key = "Note3" And back.ListItems.Count = 3, "headers and rows read back"
Check back.ListItems(2).Text = Chr(196) & "rger & Co" And back.ListItems(3).SubItems(2) = "12 " & Chr(128), _
    "cells read back"
Check back.ListItems(1).Selected And back.ListItems(2).ListSubItems(1).ToolTipText = "Ville : Lyon", _
    "row 1 selected, tips made"

' The boxes of the import.
r = lib.LoadListViewFromASCII(folder & "sample.csv", back, , , , , , " ")
Check r = False And TakeBoxes() = "[Information] 64" & vbCrLf & "Unable to initialize data loading: ( )" & vbCrLf, _
    "blank separator"
fso.CreateTextFile(folder & "one.txt").Write "a"
r = lib.LoadListViewFromASCII(folder & "one.txt", back)
boxes = TakeBoxes()
Check r = False And boxes = "[Information] 64" & vbCrLf & "Unable to load data. The file is empty: 1" & vbCrLf & _
    folder & "one.txt" & vbCrLf, "one-byte file: " & boxes
Check lib.LoadListViewFromASCII(folder & "missing.txt", back) = False And TakeBoxes() = "", "missing file: reported only"

Finish 18
