' Long chains of objects and deeply nested arrays are released without
' recursing once per level.
Class N : Public nx : End Class
Dim head, n, i
Set head = Nothing
For i = 1 To 100000
  Set n = New N
  Set n.nx = head
  Set head = n
Next
Set n = Nothing
Set head = Nothing
WScript.Echo "chain released"
' expect: chain released
Dim a : a = Array()
For i = 1 To 100000 : a = Array(a) : Next
a = Empty
WScript.Echo "arrays released"
' expect: arrays released
Function Nest(depth)
  Dim x, j : x = Array()
  For j = 1 To depth : x = Array(x) : Next
  Nest = Empty
End Function
Nest 100000
WScript.Echo "locals released"
' expect: locals released
Class R
  Sub Class_Terminate() : Set keep = Me : End Sub
End Class
Dim keep, r : Set r = New R
Set r = Nothing
WScript.Echo TypeName(keep)
' expect: R
