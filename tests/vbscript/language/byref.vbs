' ByRef is the default: variables, array elements, arrays and fields.
Sub Fill(arr) : arr(0) = "filled" : End Sub
Dim a(2)
Fill a
WScript.Echo a(0)
' expect: filled
Sub Grow(arr) : ReDim Preserve arr(5) : End Sub
Dim d() : ReDim d(1)
Grow d
WScript.Echo UBound(d)
' expect: 5
Class Acc
  Public Total
  Sub Bump() : AddTo Total, 5 : End Sub
End Class
Sub AddTo(target, n) : target = target + n : End Sub
Dim acc : Set acc = New Acc
acc.Total = 1
acc.Bump
WScript.Echo acc.Total
' expect: 6
AddTo acc.Total, 100
WScript.Echo acc.Total
' expect: 6
Function Twice(ByRef v) : v = v * 2 : Twice = v : End Function
Dim n : n = 4
WScript.Echo Twice(n), n
' expect: 8 8
WScript.Echo Twice((n)), n
' expect: 16 8
Sub Outer(x) : Inner x : End Sub
Sub Inner(y) : y = "inner" : End Sub
Dim s : s = "outer"
Outer s
WScript.Echo s
' expect: inner
