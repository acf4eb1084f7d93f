Class P
  Public X, Y
  Public Function Sum() : Sum = X + Y : End Function
End Class
Dim p : Set p = New P
With p
  .X = 1
  .Y = 2
  WScript.Echo .Sum(), .X
End With
' expect: 3 1
Dim d : Set d = CreateObject("Scripting.Dictionary")
With d
  .Add "a", 1
  .Add "b", 2
  WScript.Echo .Count, .Item("b")
End With
' expect: 2 2
