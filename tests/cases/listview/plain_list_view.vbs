' A caller's list-view written as VBScript classes, and the list-views of the list-view
' case table (lstviewlib.tsv) filled from and written back as its "H1|H2;a|b;c": read by
' tests/wine/tree_cases_to_vbs.py. (Wine's VBScript classes take no array fields, default
' members nor several fields in one statement.)

' A row, header or sub-item; SubItems(k) is an indexed property over ListSubItems.
Class FakeRow
  Public Text
  Public Key
  Public Index
  Public Selected
  Public Checked
  Public Icon
  Public SmallIcon
  Public Tag
  Public ToolTipText
  Public Bold
  Public ForeColor
  Public Width
  Public Alignment
  Public ListSubItems
  Private Sub Class_Initialize()
    Selected = False
    Checked = False
    ToolTipText = ""
    Bold = False
    ForeColor = 0
    Set ListSubItems = New FakeList
  End Sub
  Public Property Get SubItems(k)
    SubItems = ""
    If k <= ListSubItems.Count Then SubItems = ListSubItems.Item(k).Text
  End Property
  Public Property Let SubItems(k, value)
    Do While ListSubItems.Count < k
      ListSubItems.Add Empty, Empty, ""
    Loop
    ListSubItems.Item(k).Text = value
  End Property
  Public Function EnsureVisible()
    EnsureVisible = True
  End Function
End Class

' Rows and sub-items (Add with Index, Key, Text) or headers (AddHeader with Index, Key, Text, Width,
' Alignment), both 1-based.
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
  Public Function Add(idx, key, text)
    Count = Count + 1
    ReDim Preserve items(Count)
    Set items(Count) = New FakeRow
    items(Count).Text = text
    items(Count).Key = key
    items(Count).Index = Count
    Set Add = items(Count)
  End Function
  Public Function AddHeader(idx, key, text, width, align)
    Set AddHeader = Add(idx, key, text)
    AddHeader.Width = width
    AddHeader.Alignment = align
  End Function
  Public Sub Clear()
    Count = 0
  End Sub
  Public Sub Remove(i)
    Dim j
    For j = i To Count - 1
      Set items(j) = items(j + 1)
      items(j).Index = j
    Next
    Count = Count - 1
  End Sub
End Class

' Headers: removing one removes its column, as the control does.
Class FakeHeaders
  Public List
  Public Rows
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
  Public Sub Remove(i)
    Dim r
    List.Remove i
    For r = 1 To Rows.Count
      If i > 1 And i <= Rows.Item(r).ListSubItems.Count + 1 Then Rows.Item(r).ListSubItems.Remove i - 1
    Next
  End Sub
  Public Sub Clear()
    List.Clear
  End Sub
End Class

Class FakeListView
  Public ColumnHeaders
  Public ListItems
  Public Checkboxes
  Private Sub Class_Initialize()
    Set ColumnHeaders = New FakeHeaders
    Set ListItems = New FakeList
    Set ColumnHeaders.Rows = ListItems
    Checkboxes = False
  End Sub
End Class

'' The table's list-view on the model ("model") or on the classes above; styled as the exported
' sample: a centred and a right column, a bold sub-item, a bold row, a red sub-item.
Function BuildList(kind, view, styled)
  Dim lv, lines, cells, i, k, row
  If kind = "model" Then
    Set lv = CreateObject("ZivoviViruvov.Models.ListView")
  Else
    Set lv = New FakeListView
  End If
  lines = Array()  ' Wine's Split("") gives one empty text
  If view <> "" Then lines = Split(view, ";")
  For i = 0 To UBound(lines)
    cells = Split(lines(i), "|")
    If i = 0 Then
      For k = 0 To UBound(cells)
        If kind = "model" Then lv.ColumnHeaders.Add , , cells(k) Else lv.ColumnHeaders.Add Empty, Empty, cells(k), 1440, 0
      Next
    Else
      If kind = "model" Then Set row = lv.ListItems.Add(, , cells(0)) Else Set row = lv.ListItems.Add(Empty, Empty, cells(0))
      For k = 1 To UBound(cells)
        row.SubItems(k) = cells(k)
      Next
    End If
  Next
  If styled Then
    lv.ColumnHeaders.Item(2).Alignment = 2
    lv.ColumnHeaders.Item(3).Alignment = 1
    lv.ListItems.Item(1).ListSubItems.Item(1).Bold = True
    lv.ListItems.Item(2).Bold = True
    lv.ListItems.Item(2).ListSubItems.Item(1).ForeColor = 255
  End If
  Set BuildList = lv
End Function

Function ListText(lv)
  Dim i, k, row
  ListText = ""
  For i = 1 To lv.ColumnHeaders.Count
    If i > 1 Then ListText = ListText & "|"
    ListText = ListText & lv.ColumnHeaders.Item(i).Text
  Next
  For i = 1 To lv.ListItems.Count
    Set row = lv.ListItems.Item(i)
    ListText = ListText & ";" & row.Text
    For k = 1 To row.ListSubItems.Count
      ListText = ListText & "|" & row.ListSubItems.Item(k).Text
    Next
  Next
End Function

' A list box's items joined by ";".
Function BoxText(box)
  Dim i
  BoxText = ""
  For i = 0 To box.ListCount - 1
    If i > 0 Then BoxText = BoxText & ";"
    BoxText = BoxText & box.List(i)
  Next
End Function
