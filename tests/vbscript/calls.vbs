' Arguments, by-reference results, errors and the caller's own objects, from VBScript.

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

Dim s, f, t, c, w, b, r, o, coll, list, upper, years, tl
Set s = CreateObject("ZivoviViruvov.StrChr")
Set f = CreateObject("ZivoviViruvov.FileLib")
Set tl = CreateObject("ZivoviViruvov.TimeLib")
On Error Resume Next

' By-reference counters come back changed; the box is read through its Text. Counters that
' start as text are converted and come back as numbers.
Set t = New FakeTextBox
t.Text = "hello big  world"
c = 0 : w = 0 : b = 0
r = s.TextBoxCounter(t, c, w, b)
Expect 0, "TextBoxCounter"
Check r = True And c = 13 And w = 3 And b = 3 And TypeName(c) = "Long", _
  "TextBoxCounter counts " & r & " " & TypeName(c) & " " & c & " " & w & " " & b
c = "5"
t.Text = "ab"
r = s.TextBoxCounter(t, c, w, b)
Check c = 7 And TypeName(c) = "Long", "TextBoxCounter adds to a text counter: " & TypeName(c) & " " & c

' A caller object without the member the library needs, the script's or the library's own:
' the trap returns False.
For Each o In Array(New FakeCollection, f)
  r = s.TextBoxCounter(o, c, w, b)
  Expect 0, "TextBoxCounter on an object without Text"
  Check r = False, "TextBoxCounter on an object without Text: " & r
Next

' The caller's collection gets the items through its Add.
Set coll = New FakeCollection
r = s.ItemsToCollection("a]|[b]|[c", coll)
Expect 0, "ItemsToCollection"
Check r = True And coll.Items = "[a][b][c]", "ItemsToCollection: " & r & " " & coll.Items
Set coll = New FakeCollection
r = s.ItemsToCollection("a;b", coll, ";")
Check coll.Items = "[a][b]", "ItemsToCollection with a separator: " & coll.Items

' A script's array goes to a String() parameter by reference; an optional by-reference
' Boolean is left out (its default True compares without case) or given.
list = Array("x", "abc", "def")
r = s.isStringExistInList(list, "ABC")
Expect 0, "isStringExistInList"
Check r = 1, "isStringExistInList with the default: " & r
upper = False
r = s.isStringExistInList(list, "ABC", upper)
Expect 0, "isStringExistInList case-sensitive"
Check r = -1 And TypeName(upper) = "Boolean" And upper = False, _
  "isStringExistInList case-sensitive: " & r & ", upperCompare comes back " & TypeName(upper)
Check UBound(list) = 2 And list(1) = "abc", "the array comes back whole"

' The caller's list box is filled through its own members.
Set years = New FakeListBox
years.AddItem "old"
tl.YearToListBox years
Expect 0, "YearToListBox"
Check years.ListCount = 102 And Left(years.Items, 10) = "2000;2001;" And Right(years.Items, 5) = "2101;", _
      "YearToListBox cleared the box and added 2000 to 2101: " & years.ListCount
tl.YearToListBox years, 1990
Check years.ListCount = 102 And Left(years.Items, 5) = "1990;", "YearToListBox from 1990"
tl.YearToListBox years, 32667
Check years.ListCount = 0, "YearToListBox past 32666 after clearing: " & years.ListCount
Expect 6, "YearToListBox past 32666"
tl.MonthToListBox years
Expect 0, "MonthToListBox"
Check years.ListCount = 12, "MonthToListBox adds 12 months: " & years.ListCount

' Errors reach VBScript with their numbers, texts and sources (the case tables check the
' numbers of the others): a 16-bit position beyond 32767 overflows inside GetLeft, which has
' no trap.
r = s.getleft(Space(40000) & "|", "|")
Check Err.Description = "Overflow" And Err.Source = "ZivoviViruvov.StrChr", _
  "overflow: " & Err.Description & " " & Err.Source
Expect 6, "overflow"
Finish 0
