' A caller's tree written in VBScript: its node collection keeps every sibling list sorted
' by text, while Index follows insertion as in the common controls. The nodes live in a
' tree-view model, each placed before the first sibling with a greater text. (A VBScript
' class cannot have a member named Next, so the nodes themselves are the model's.)
Class SortedNodes
  Public View

  Private Sub Class_Initialize()
    Set View = CreateObject("ZivoviViruvov.Models.TreeView")
  End Sub

  Public Property Get Count()
    Count = View.Nodes.Count
  End Property

  Public Default Function Item(Index)
    Set Item = View.Nodes(Index)
  End Function

  Public Function Add(Relative, Relationship, Key, Text, Image)
    Dim sibling
    Set sibling = Nothing
    If Relationship = 4 Then
      If View.Nodes(Relative).Children > 0 Then Set sibling = View.Nodes(Relative).Child.FirstSibling
    ElseIf Not IsEmpty(Relative) Then
      Set sibling = View.Nodes(Relative).FirstSibling
    ElseIf View.Nodes.Count > 0 Then
      Set sibling = View.Nodes(1).Root.FirstSibling
    End If
    Do Until sibling Is Nothing
      If StrComp(sibling.Text, Text, vbBinaryCompare) > 0 Then Exit Do
      Set sibling = sibling.Next
    Loop
    If Not sibling Is Nothing Then
      Set Add = View.Nodes.Add(sibling.Index, 3, Key, Text, Image)
    ElseIf Relationship = 4 Then
      Set Add = View.Nodes.Add(Relative, 4, Key, Text, Image)
    ElseIf IsEmpty(Relative) Then
      Set Add = View.Nodes.Add(Empty, Empty, Key, Text, Image)
    Else
      Set Add = View.Nodes.Add(Relative, 1, Key, Text, Image)
    End If
  End Function

  Public Sub Remove(Index)
    View.Nodes.Remove Index
  End Sub
End Class

Class SortedTree
  Public Nodes

  Private Sub Class_Initialize()
    Set Nodes = New SortedNodes
  End Sub
End Class

Function CollText(coll)
  Dim item
  CollText = ""
  For Each item In coll
    CollText = CollText & "," & item
  Next
  CollText = Mid(CollText, 2)
End Function
