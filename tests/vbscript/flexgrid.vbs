' FlexGridLib from VBScript, on the library's grid and list-view models: the properties
' give back the script's objects, the headers go into the band header, the columns grow
' to the texts as the screen's default GUI font draws them, AutoSize writes the format
' string and row heights, and every operation releases the grid.
Dim lib, lv, grid, w
On Error Resume Next

Set lib = CreateObject("ZivoviViruvov.FlexGridLib")
Set lv = CreateObject("ZivoviViruvov.Models.ListView")
Set grid = CreateObject("ZivoviViruvov.Models.FlexGrid")
Check lib.tmpListView Is Nothing, "tmpListView starts as Nothing"
Check Not lib.ListViewToFlexGrid(lv, grid), "transfer without the properties"

lv.ColumnHeaders.Add , , "City"
lv.ColumnHeaders.Add(, , "Amount").Alignment = 1
lv.ColumnHeaders.Add(, , "Flag").Alignment = 2
lv.ListItems.Add , , "Paris"
lv.ListItems.Add , , "Rome"
Set lib.tmpListView = lv
Set lib.mainFlexGrid = grid
Check lib.tmpListView Is lv, "tmpListView gives back the script's list-view"
Check lib.ListViewToFlexGrid(Nothing, Nothing), "transfer"
Check grid.Rows = 1 And grid.Cols = 3 And grid.FixedRows = 0, "grid size " & grid.Rows & "x" & grid.Cols
Check grid.ColHeaderCaption(0, 1) = "Amount", "caption " & grid.ColHeaderCaption(0, 1)
Check grid.ColAlignmentHeader(0, 0) = 1 And grid.ColAlignmentHeader(0, 1) = 7 And _
      grid.ColAlignmentHeader(0, 2) = 4, "header alignments"
Check lib.tmpListView Is Nothing And lib.mainFlexGrid Is Nothing, "properties released"

' Column 0 holds a long text, column 1 a short one, column 2 nothing.
grid.Rows = 2
grid.TextMatrix(1, 0) = "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"
grid.TextMatrix(1, 1) = "i"
grid.ColWidth(2) = 30
Set lib.mainFlexGrid = grid
lib.ResizeColumns 0
w = grid.ColWidth(0)
Check w > 2400, "a long text widens its column: " & w
Check grid.ColWidth(1) = 960 And grid.ColWidth(2) = 30, "columns never narrower " & grid.ColWidth(1) & " " & grid.ColWidth(2)
grid.TextMatrix(1, 0) = "M"
Set lib.mainFlexGrid = grid
lib.ResizeColumns 0
Check grid.ColWidth(0) = w And lib.mainFlexGrid Is Nothing, "ResizeColumns only grows and releases"

grid.FixedRows = 1
grid.TextMatrix(0, 0) = "Head"
grid.ColAlignment(0) = 4
grid.TextMatrix(1, 1) = "two" & vbCrLf & "lines"
Set lib.mainFlexGrid = grid
lib.AutoSize True, True
Check grid.FormatString = "^AAAA|AAAAA|", "format string " & grid.FormatString
Check grid.TextMatrix(0, 0) = "Head" And grid.RowHeight(1) = 480, "row 0 kept, row 1 doubled"
Check grid.Redraw And lib.mainFlexGrid Is Nothing, "Redraw restored, grid released"

Set lib.mainFlexGrid = grid
lib.EmptyFlexGlid
Check grid.Rows = 2 And grid.TextMatrix(1, 1) = "" And lib.mainFlexGrid Is Nothing, "emptied"

Finish 15
