Dim a(3), i
For i = 0 To 3 : a(i) = i * i : Next
WScript.Echo a(3), UBound(a), LBound(a)
' expect: 9 3 0
Dim d()
ReDim d(2)
d(2) = "x"
ReDim Preserve d(4)
WScript.Echo d(2), UBound(d)
' expect: x 4
ReDim d(1)
WScript.Echo "[" & d(1) & "]"
' expect: []
Dim m(2, 3)
m(2, 3) = "corner"
WScript.Echo UBound(m, 1), UBound(m, 2), m(2, 3)
' expect: 2 3 corner
Dim e : e = Array()
WScript.Echo UBound(e)
' expect: -1
Erase a
WScript.Echo "[" & a(3) & "]", UBound(a)
' expect: [] 3
Dim nested : nested = Array(Array(1, 2), Array(3, 4))
WScript.Echo nested(1)(0)
' expect: 3
Dim fixed(1)
On Error Resume Next
ReDim fixed(5)
WScript.Echo Err.Number
' expect: 10
Err.Clear
WScript.Echo a(10)
WScript.Echo Err.Number
' expect: 9
