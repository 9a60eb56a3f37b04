' The models of the controls, created from VBScript by their ProgIDs, and the caller's own
' objects reached with named arguments, default members and indexed puts.

Dim lv, it, h, tv, nd, il, s, pb
On Error Resume Next

Set lv = CreateObject("ZivoviViruvov.Models.ListView")
Expect 0, "CreateObject ListView"
Check TypeName(lv) = "ListView", "TypeName " & TypeName(lv)
lv.ColumnHeaders.Add , , "City"
Set h = lv.ColumnHeaders.Add(, "country", "Country", 2000, 2)
Check h.Index = 2 And h.Alignment = 2 And h.Width = 2000, "header " & h.Index & " " & h.Alignment
Set it = lv.ListItems.Add(, "p", "Paris")
it.SubItems(1) = "France"
Check lv.ListItems("p").SubItems(1) = "France", "default member and indexed put"
Check lv.ListItems(1).ListSubItems.Count = 1, "sub-items made on write"
Check lv.ListItems(1) = "Paris", "a row's default member is its Text"
lv.ListItems.Add , "p", "again"
Check Err.Description = "Key is not unique in collection", "duplicate key: " & Err.Description
Expect 35602, "duplicate key"
Set it = lv.ListItems(5)
Expect 35600, "index past the end"
it.SubItems(2) = "x"
Expect 380, "sub-item beyond the headers"
lv.ListItems.Add , , "Rome"
s = ""
For Each it In lv.ListItems
  s = s & it.Text & ";"
Next
Check s = "Paris;Rome;", "For Each over the rows: " & s

Set tv = CreateObject("ZivoviViruvov.Models.TreeView")
tv.Nodes.Add , , "r", "Root"
tv.Nodes.Add "r", 4, "c", "Child"
tv.Nodes.Add "c", 4, "g", "Grandchild"
tv.Nodes.Add "r", 4, "d", "Second"
Check tv.Nodes("g").FullPath = "Root\Child\Grandchild", "FullPath " & tv.Nodes("g").FullPath
Check tv.Nodes("c").Next.Key = "d", "Next sibling"
Check tv.Nodes("g").Parent.Parent Is Nothing = False, "Parent of a parent"
tv.Nodes.Remove "c"
Check tv.Nodes.Count = 2 And tv.Nodes("d").Index = 2, "Remove takes the descendants"
tv.Nodes.Add , , "x", "X", "folder"
Expect 35613, "image without an image list"
Set il = CreateObject("ZivoviViruvov.Models.ImageList")
il.ListImages.Add , "folder"
Set tv.ImageList = il
Set nd = tv.Nodes.Add(, , "x", "X", "folder")
Expect 0, "image from the image list"
Check nd.Image = "folder", "the node's image"

Set pb = CreateObject("ZivoviViruvov.Models.ProgressBar")
pb.Max = 10
pb.Value = 11
Expect 380, "progress value above Max"

Finish 19
