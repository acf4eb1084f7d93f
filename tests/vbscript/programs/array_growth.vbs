' Arrays grown with ReDim Preserve, arrays returned from functions.
Dim a() : ReDim a(-1)
WScript.Echo UBound(a)
' expect: -1
Dim i
For i = 1 To 5
  ReDim Preserve a(UBound(a) + 1)
  a(UBound(a)) = i * i
Next
WScript.Echo Join(a, " "), LBound(a), UBound(a)
' expect: 1 4 9 16 25 0 4
ReDim Preserve a(2)
WScript.Echo Join(a, " ")
' expect: 1 4 9
Dim m(2, 3)
m(2, 3) = "x"
WScript.Echo UBound(m, 1), UBound(m, 2), m(2, 3)
' expect: 2 3 x
Dim v : v = Array(3, 1, 2)
Dim s : s = ""
For i = UBound(v) To 0 Step -1 : s = s & v(i) : Next
WScript.Echo s, Join(Filter(Array("V1", "C2", "V3"), "V"), ",")
' expect: 213 V1,V3
Function MakeArr(n)
  Dim t(), j
  ReDim t(n - 1)
  For j = 0 To n - 1 : t(j) = j * 2 : Next
  MakeArr = t
End Function
WScript.Echo UBound(MakeArr(3)), MakeArr(3)(2), Join(MakeArr(4), "-")
' expect: 2 4 0-2-4-6
Dim jag : jag = Array(Array(1, 2), Array(3))
WScript.Echo jag(0)(1), UBound(jag(1))
' expect: 2 0
On Error Resume Next
m(3, 0) = 1
WScript.Echo Err.Number, Err.Description
' expect: 9 Subscript out of range
