' Math functions: kept types, Null, domains and a reproducible Rnd.
WScript.Echo Abs(-5) & " " & Abs(-1.5) & " " & TypeName(Abs(CInt(-32768))) & " " & IsNull(Abs(Null)) & " " & TypeName(Abs(-5))
' expect: 5 1.5 Long True Integer
WScript.Echo Sgn(-3) & " " & Sgn(0) & " " & Sgn(2.5) & " " & TypeName(Sgn(2.5))
' expect: -1 0 1 Integer
WScript.Echo Sqr(16) & " " & Exp(0) & " " & Log(1) & " " & Round(Atn(1) * 4, 6) & " " & Cos(0) & " " & Sin(0) & " " & Tan(0)
' expect: 4 1 0 3.141593 1 0 0
Rnd -1
Randomize 7
a = Rnd
b = Rnd
Rnd -1
Randomize 7
WScript.Echo (a = Rnd) & " " & (b = Rnd) & " " & (a <> b) & " " & (a >= 0 And a < 1) & " " & (Rnd(0) = b) & " " & TypeName(a)
' expect: True True True True True Single

On Error Resume Next
x = Sqr(-1)
WScript.Echo "Sqr(-1): " & Err.Number
' expect: Sqr(-1): 5
Err.Clear
x = Log(0)
WScript.Echo "Log(0): " & Err.Number
' expect: Log(0): 5
Err.Clear
x = Exp(1000)
WScript.Echo "Exp(1000): " & Err.Number
' expect: Exp(1000): 6
