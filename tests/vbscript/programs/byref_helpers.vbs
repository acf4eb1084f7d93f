' Helpers that hand results back through ByRef arguments.
Sub Swap(ByRef a, ByRef b)
  Dim t : t = a : a = b : b = t
End Sub
Function AddTo(ByRef total, ByVal x)
  total = total + x
  x = 0
  AddTo = total
End Function
Function Inner(ByRef n)
  n = n * 10
  Inner = n
End Function
Function Outer(n)
  Outer = Inner(n) + 1
End Function
Function ParseReading(text, ByRef value, ByRef unit)
  Dim p : p = InStr(text, " ")
  ParseReading = p > 0
  If Not ParseReading Then Exit Function
  value = CDbl(Left(text, p - 1))
  unit = Mid(text, p + 1)
End Function
Dim p, q : p = 1 : q = 2
Swap p, q
WScript.Echo p, q
' expect: 2 1
Dim tot, y : tot = 0 : y = 5
WScript.Echo AddTo(tot, y), tot, y
' expect: 5 5 5
Dim z : z = 3
WScript.Echo Outer(z), z
' expect: 31 30
Dim arr : arr = Array(1, 2)
Swap arr(0), arr(1)
WScript.Echo arr(0), arr(1)
' expect: 2 1
' A parenthesised argument is a copy.
Swap (p), q
WScript.Echo p, q
' expect: 2 2
Dim v, u
If ParseReading("4.75 mA", v, u) Then WScript.Echo v * 2, u
' expect: 9.5 mA
WScript.Echo ParseReading("junk", v, u), v
' expect: False 4.75
Function Fact(n)
  If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)
End Function
WScript.Echo Fact(10), Fact(20)
' expect: 3628800 2.43290200817664E+18
