' "s = s & ..." appends in place where s alone holds its text; what a
' script sees must stay what the & operator defines (Microsoft, "&
' Operator", VBScript reference: operands become strings, Null counts as
' ""; both Null gives Null), however the text is stored.
Dim s, t, u, i
s = ""
For i = 1 To 5 : s = s & i : Next
t = s
s = s & "x"
WScript.Echo s, t, Len(s), LenB(s)
' expect: 12345x 12345 6 12

' A literal is not grown by the variable it was copied into.
Function Build(n)
  Dim r, k
  r = "ab"
  For k = 1 To n : r = r & "-" : Next
  Build = r
End Function
WScript.Echo Build(3), Build(2), Build(0)
' expect: ab--- ab-- ab

' ByRef appends reach the caller; ByVal ones do not.
Sub AddTo(ByRef acc, piece)
  acc = acc & piece
End Sub
Sub AddLocal(ByVal acc)
  acc = acc & "!"
  WScript.Echo acc
End Sub
u = "start"
AddTo u, "+1" : AddTo u, "+2"
AddLocal u
WScript.Echo u
' expect: start+1+2!
' expect: start+1+2

' Array elements keep their own text.
Dim arr(1)
arr(0) = "x" : s = arr(0) : s = s & "y"
arr(1) = "p" : arr(1) = arr(1) & "q"
AddTo arr(1), "r"
WScript.Echo s, arr(0), arr(1)
' expect: xy x pqr

' A part that runs code: the left operand is the text before it ran.
Function Sneak()
  s = "changed"
  Sneak = "!"
End Function
Function Peek()
  t = s
  Peek = "?"
End Function
Function Nested()
  s = s & "[in]"
  Nested = "[out]"
End Function
s = "orig" : s = s & Sneak()
WScript.Echo s
' expect: orig!
s = "base" : s = s & Peek()
s = s & "."
WScript.Echo s, t
' expect: base?. base
s = "n" : s = s & Nested() & Nested()
WScript.Echo s
' expect: n[out][out]
s = "ab" : s = s & s & s
WScript.Echo s
' expect: ababab

' Conversions, Null and default members as the operator has them.
Class Reading
  Public Default Property Get Value() : Value = 2.5 : End Property
End Class
s = "v" : s = s & 1.5 & Null & True & Empty & New Reading
WScript.Echo s
' expect: v1.5True2.5
Dim e, n, z
e = e & "x" : n = 5 : n = n & 5
WScript.Echo e, n, TypeName(n)
' expect: x 55 String
z = Null : z = z & Null
WScript.Echo IsNull(z)
' expect: True
z = z & "a"
WScript.Echo z
' expect: a

' A part that fails leaves the variable as it was.
On Error Resume Next
s = "keep" : s = s & "more" & Array(1)
WScript.Echo s, Err.Number
' expect: keep 13
On Error GoTo 0

' Fields, function results and a long build.
Class Log
  Public Text
  Public Sub Add(m) : Text = Text & m & ";" : End Sub
End Class
Dim lg : Set lg = New Log
lg.Add "a" : lg.Add "b"
t = lg.Text
lg.Add "c"
WScript.Echo lg.Text, t
' expect: a;b;c; a;b;
Function Joined(k)
  Dim j
  For j = 1 To k : Joined = Joined & j : Next
End Function
WScript.Echo Joined(4)
' expect: 1234
s = ""
For i = 1 To 20000 : s = s & Chr(65 + i Mod 26) : Next
WScript.Echo Len(s), Mid(s, 1, 3), Mid(s, 19999, 2), InStr(s, "ZAB")
' expect: 20000 BCD FG 25
