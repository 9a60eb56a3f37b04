' Arguments, by-reference results, errors and the caller's own objects, from VBScript.

' A text box written as a VBScript class: the library reads its Text.
Class FakeTextBox
  Public Text
End Class

' A list box written as a VBScript class: the library calls its Clear and AddItem.
Class FakeListBox
  Public Items
  Public ListCount
  Public NewIndex
  Private Sub Class_Initialize()
    Clear
  End Sub
  Public Sub Clear()
    Items = ""
    ListCount = 0
    NewIndex = -1
  End Sub
  Public Sub AddItem(text)
    Items = Items & text & ";"
    NewIndex = ListCount
    ListCount = ListCount + 1
  End Sub
End Class

' A collection written as a VBScript class: the library calls its Add.
Class FakeCollection
  Public Items
  Private Sub Class_Initialize()
    Items = ""
  End Sub
  Public Sub Add(item)
    Items = Items & "[" & item & "]"
  End Sub
End Class

Dim s, f, t, c, w, b, r, o
Set s = CreateObject("ZivoviViruvov.StrChr")
Set f = CreateObject("ZivoviViruvov.FileLib")

On Error Resume Next

' By-reference counters come back changed; the box is read through its Text.
Set t = New FakeTextBox
t.Text = "hello big  world"
c = 0 : w = 0 : b = 0
Err.Clear
r = s.TextBoxCounter(t, c, w, b)
Check Err.Number = 0 And r = True, "TextBoxCounter: " & Err.Number & " " & Err.Description & " " & r
Check c = 13 And w = 3 And b = 3 And TypeName(c) = "Long", _
  "TextBoxCounter counts " & TypeName(c) & " " & c & " " & w & " " & b

' Counters that start as text are converted and come back as numbers.
c = "5" : w = 0 : b = 0
t.Text = "ab"
r = s.TextBoxCounter(t, c, w, b)
Check c = 7 And TypeName(c) = "Long", "TextBoxCounter adds to a text counter: " & TypeName(c) & " " & c

' A caller object without the member the library needs, the script's or the library's own:
' the trap returns False.
For Each o In Array(New FakeCollection, f)
  Err.Clear
  r = s.TextBoxCounter(o, c, w, b)
  Check Err.Number = 0 And r = False, "TextBoxCounter on an object without Text: " & Err.Number & " " & r
Next

' The caller's collection gets the items through its Add.
Dim coll
Set coll = New FakeCollection
Err.Clear
r = s.ItemsToCollection("a]|[b]|[c", coll)
Check Err.Number = 0 And r = True And coll.Items = "[a][b][c]", _
  "ItemsToCollection: " & Err.Number & " " & Err.Description & " " & coll.Items
Set coll = New FakeCollection
r = s.ItemsToCollection("a;b", coll, ";")
Check coll.Items = "[a][b]", "ItemsToCollection with a separator: " & coll.Items

' A script's array goes to a String() parameter by reference; an optional by-reference
' Boolean is left out (its default True compares without case) or given.
Dim list, upper
list = Array("x", "abc", "def")
Err.Clear
r = s.isStringExistInList(list, "ABC")
Check Err.Number = 0 And r = 1, "isStringExistInList with the default: " & Err.Number & " " & r
upper = False
r = s.isStringExistInList(list, "ABC", upper)
Check Err.Number = 0 And r = -1, "isStringExistInList case-sensitive: " & Err.Number & " " & r
Check TypeName(upper) = "Boolean" And upper = False, "upperCompare comes back " & TypeName(upper)
Check UBound(list) = 2 And list(1) = "abc", "the array comes back whole"

' The caller's list box is filled through its own members.
Dim years, tl
Set tl = CreateObject("ZivoviViruvov.TimeLib")
Set years = New FakeListBox
years.AddItem "old"
Err.Clear
tl.YearToListBox years
Check Err.Number = 0, "YearToListBox: " & Err.Number & " " & Err.Description
Check years.ListCount = 102 And Left(years.Items, 10) = "2000;2001;" And Right(years.Items, 5) = "2101;", _
      "YearToListBox cleared the box and added 2000 to 2101: " & years.ListCount
tl.YearToListBox years, 1990
Check years.ListCount = 102 And Left(years.Items, 5) = "1990;", "YearToListBox from 1990"
Err.Clear
tl.YearToListBox years, 32667
Check Err.Number = 6 And years.ListCount = 0, "YearToListBox past 32666: error " & Err.Number & _
      " after clearing, " & years.ListCount & " items"
Err.Clear
tl.MonthToListBox years
Check Err.Number = 0 And years.ListCount = 12, "MonthToListBox adds 12 months: " & years.ListCount

' Errors reach VBScript with their numbers, texts and sources (the case tables check the
' numbers of the others): a 16-bit position beyond 32767 overflows inside GetLeft, which has
' no trap; an unknown member.
Err.Clear
r = s.getleft(Space(40000) & "|", "|")
Check Err.Number = 6 And Err.Description = "Overflow" And Err.Source = "ZivoviViruvov.StrChr", _
  "overflow: " & Err.Number & " " & Err.Description & " " & Err.Source
Err.Clear
r = f.NoSuchMember("a")
Check Err.Number = 438, "unknown member: 438, got " & Err.Number

WScript.Echo passed & " passed, " & failed & " failed"
WScript.Quit failed
