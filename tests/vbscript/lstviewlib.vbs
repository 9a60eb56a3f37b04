' LstViewLib from VBScript, on the library's list-view model and on a list-view written
' as VBScript classes: filled through FindHeaderFromCaption and FindItemFromText with
' addIt, searched again, counted, rearranged and copied.

' A row and a header of the script's own list-view; SubItems(k) is an indexed property.
Class FakeRow
  Private cells
  Private Sub Class_Initialize()
    Set cells = CreateObject("Scripting.Dictionary")
  End Sub
  Public Property Get SubItems(k)
    SubItems = ""
    If cells.Exists(k) Then SubItems = cells(k)
  End Property
  Public Property Let SubItems(k, value)
    cells(k) = value
  End Property
  Public Text
  Public Key
  Public Index
  Public Selected
  Public Checked
  Public Icon
  Public SmallIcon
  Public Tag
End Class

' Its headers (Add with Index, Key, Text, Width, Alignment) and rows (Add with Index, Key,
' Text), both 1-based. (Wine's VBScript classes take no array fields, default members nor
' several fields in one statement.)
Class FakeList
  Private items
  Public Count
  Private Sub Class_Initialize()
    Count = 0
    ReDim items(0)
  End Sub
  Public Function Item(i)
    Set Item = items(i)
  End Function
  Private Function Append(key, text)
    Count = Count + 1
    ReDim Preserve items(Count)
    Set items(Count) = New FakeRow
    items(Count).Text = text
    items(Count).Key = key
    items(Count).Index = Count
    Set Append = items(Count)
  End Function
  Public Function Add(idx, key, text)
    Set Add = Append(key, text)
  End Function
  Public Function AddHeader(idx, key, text, width, align)
    Set AddHeader = Append(key, text)
  End Function
  Public Sub Clear()
    Count = 0
  End Sub
End Class

Class FakeHeaders
  Public List
  Private Sub Class_Initialize()
    Set List = New FakeList
  End Sub
  Public Property Get Count()
    Count = List.Count
  End Property
  Public Function Item(i)
    Set Item = List.Item(i)
  End Function
  Public Function Add(idx, key, text, width, align)
    Set Add = List.AddHeader(idx, key, text, width, align)
  End Function
End Class

Class FakeListView
  Public ColumnHeaders
  Public ListItems
  Public Checkboxes
  Private Sub Class_Initialize()
    Set ColumnHeaders = New FakeHeaders
    Set ListItems = New FakeList
    Checkboxes = False
  End Sub
End Class

Dim lib, lv, views, v, r, dest, bar, coll, i
Set lib = CreateObject("ZivoviViruvov.LstViewLib")
On Error Resume Next

Set views = CreateObject("ZivoviViruvov.Models.Collection")
views.Add CreateObject("ZivoviViruvov.Models.ListView")
views.Add New FakeListView
For Each v In views
  Err.Clear
  r = lib.FindHeaderFromCaption(v, "City", True)
  Check Err.Number = 0 And r = 1, TypeName(v) & " FindHeaderFromCaption adds: " & r & " " & Err.Description
  Check lib.FindHeaderFromCaption(v, "City") = 1, TypeName(v) & " header found again"
  Check lib.FindItemFromText(v, "Paris", True) = 1, TypeName(v) & " FindItemFromText adds Paris"
  Check lib.FindItemFromText(v, "Rome", True) = 2, TypeName(v) & " FindItemFromText adds Rome"
  Check lib.FindItemFromText(v, "Rome") = 2, TypeName(v) & " Rome found again"
  Check lib.FindItemFromText(v, "rome") = 0, TypeName(v) & " the search keeps case"
  Check v.ListItems.Item(2).Text = "Rome" And v.ListItems.Item(2).Selected = False, TypeName(v) & " row 2"
  Check lib.CountHeaderCaption(v, "City") = 1, TypeName(v) & " CountHeaderCaption"
  lib.FindHeaderFromCaption v, "Country", True
  Check lib.FindItemFromSubItem(v, "Italy", 1, True) = 3, TypeName(v) & " FindItemFromSubItem adds"
  Check lib.FindItemFromSubItem(v, "Italy", 1) = 3, TypeName(v) & " the sub-item found again"
Next

' The model through the rest of the routines.
Set lv = views(1)
lib.FindHeaderFromCaption lv, "Country", True, 1
lv.ListItems(1).SubItems(1) = "France"
Check lib.FindItemFromSubItem(lv, "France", 1) = 1, "FindItemFromSubItem"
Check lib.CountStringFromColumn(lv, "fra", 1) = 1, "CountStringFromColumn similar, upper case"
Check lib.isSwitchColumnsAndHeaders(lv, 1, 2) = True, "isSwitchColumnsAndHeaders"
Check lv.ColumnHeaders(1).Text = "Country" And lv.ListItems(1).Text = "France", "columns switched with their headers"
Set coll = CreateObject("ZivoviViruvov.Models.Collection")
coll.Add "New York"
coll.Add "  "
coll.Add "Oslo"
Check lib.AddItemsFromColl(lv, coll) = True, "AddItemsFromColl"
Check lv.ListItems(2).Key = "Oslo33", "row keys from the collection: " & lv.ListItems(2).Key
Set dest = CreateObject("ZivoviViruvov.Models.ListView")
Set bar = CreateObject("ZivoviViruvov.Models.ProgressBar")
lib.SetProgressBar bar
Check lib.CopyListToList(lv, dest) = True, "CopyListToList"
Check dest.ListItems.Count = 2 And dest.ColumnHeaders(2).Text = "City", "the copy's rows and headers"
Check bar.Value = 5 And bar.Visible = False, "the bar moved, then was hidden: " & bar.Value
Check lib.FindItemFromText(Nothing, "x", True) = 0, "Nothing as the list-view"
Check lib.FindItemFromText(New FakeRow, "x", True) = 0, "an object without ListItems"
Check lib.isEqualColumns(lv, 1, 2, 2) = False, "isEqualColumns"

Finish 32
