' Array, bounds per dimension, and the empty array's upper bound of -1.
a = Array()
WScript.Echo UBound(a) & " " & LBound(a) & " " & IsArray(a) & " " & TypeName(a)
' expect: -1 0 True Variant()
b = Array(1, "two", 3.5)
WScript.Echo UBound(b) & " " & b(1) & " " & TypeName(b(2))
' expect: 2 two Double
Dim m(2, 4)
WScript.Echo UBound(m) & " " & UBound(m, 2) & " " & LBound(m, 2) & " " & UBound(m, 1)
' expect: 2 4 0 2
WScript.Echo IsArray("x") & " " & IsArray(m) & " " & IsArray(Empty)
' expect: False True False
ReDim r(5)
ReDim Preserve r(7)
WScript.Echo UBound(r)
' expect: 7

On Error Resume Next
x = UBound(m, 3)
WScript.Echo "dimension 3: " & Err.Number
' expect: dimension 3: 9
Err.Clear
x = UBound(m, 0)
WScript.Echo "dimension 0: " & Err.Number
' expect: dimension 0: 9
Err.Clear
x = UBound(5)
WScript.Echo "not an array: " & Err.Number
' expect: not an array: 13
