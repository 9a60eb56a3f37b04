' The models of the controls from VBScript, where the case table (tests/cases/models) cannot
' reach: created by their ProgIDs, the error's text, For Each over a collection.

Dim lv, it, s, pb
On Error Resume Next

Set lv = CreateObject("ZivoviViruvov.Models.ListView")
Expect 0, "CreateObject ListView"
Check TypeName(lv) = "ListView", "TypeName " & TypeName(lv)
lv.ListItems.Add , "p", "Paris"
lv.ListItems.Add , "p", "again"
Check Err.Description = "Key is not unique in collection", "duplicate key: " & Err.Description
Expect 35602, "duplicate key"
lv.ListItems.Add , , "Rome"
s = ""
For Each it In lv.ListItems
  s = s & it.Text & ";"
Next
Check s = "Paris;Rome;", "For Each over the rows: " & s

Set pb = CreateObject("ZivoviViruvov.Models.ProgressBar")
pb.Max = 10
pb.Value = 11
Expect 380, "progress value above Max"

Finish 6
