' Conversion functions: the rounding of CInt and Round, result types, Hex
' and Oct widths, and the errors for overflow, bad text and Null.
WScript.Echo CInt(2.5) & " " & CInt(3.5) & " " & CInt(-2.5) & " " & CLng(-3.5)
' expect: 2 4 -2 -4
WScript.Echo TypeName(CInt("12")) & " " & TypeName(CLng(1)) & " " & TypeName(CDbl(1)) & " " & TypeName(CSng(1)) & " " & TypeName(CCur(1)) & " " & TypeName(CByte(1)) & " " & TypeName(CBool(1)) & " " & TypeName(CStr(1)) & " " & TypeName(CDate(1))
' expect: Integer Long Double Single Currency Byte Boolean String Date
WScript.Echo CBool("True") & " " & CBool(0) & " " & CBool(-0.5) & " " & CStr(1/4)
' expect: True False True 0.25
WScript.Echo Hex(255) & " " & Hex(-1) & " " & Hex(CLng(-1)) & " " & Oct(8) & " " & Oct(-1) & " " & Hex(10.5)
' expect: FF FFFF FFFFFFFF 10 177777 A
WScript.Echo IsNull(Hex(Null)) & " " & IsNull(Int(Null)) & " " & IsNull(Round(Null))
' expect: True True True
WScript.Echo Fix(-2.5) & " " & Int(-2.5) & " " & Int(2.9) & " " & TypeName(Int(7)) & " " & TypeName(Fix("3.7"))
' expect: -2 -3 2 Integer Double
WScript.Echo Round(2.5) & " " & Round(3.5) & " " & Round(2.567, 2) & " " & Round(-2.5) & " " & Round(0.125, 2)
' expect: 2 4 2.57 -2 0.12

On Error Resume Next
x = CInt(32768)
WScript.Echo "CInt(32768): " & Err.Number
' expect: CInt(32768): 6
Err.Clear
x = CByte(-1)
WScript.Echo "CByte(-1): " & Err.Number
' expect: CByte(-1): 6
Err.Clear
x = CLng("abc")
WScript.Echo "CLng(abc): " & Err.Number
' expect: CLng(abc): 13
Err.Clear
x = CStr(Null)
WScript.Echo "CStr(Null): " & Err.Number
' expect: CStr(Null): 94
Err.Clear
x = Round(1.5, -1)
WScript.Echo "Round(1.5, -1): " & Err.Number
' expect: Round(1.5, -1): 5
