' Splitting and slicing a measurement response.
Dim resp, parts
resp = "+1.23456E-03,VDC,OK"
parts = Split(resp, ",")
WScript.Echo UBound(parts), parts(0), parts(1)
' expect: 2 +1.23456E-03 VDC
WScript.Echo CDbl(parts(0)), CDbl(parts(0)) * 1000
' expect: 0.00123456 1.23456
WScript.Echo FormatNumber(CDbl(parts(0)) * 1000, 3)
' expect: 1.235
WScript.Echo Mid(resp, InStr(resp, ",") + 1, 3), InStrRev(resp, ",")
' expect: VDC 17
WScript.Echo Left(resp, 3), Right(resp, 2), Len(resp)
' expect: +1. OK 19
WScript.Echo UCase(Trim("  idn?  ")), LCase("ABC"), Replace("a;b;c", ";", ", ")
' expect: IDN? abc a, b, c
WScript.Echo InStr(1, "Hello", "L", 1), InStr("abc", ""), InStr(5, "abc", "c"), InStr(2, "abcabc", "a")
' expect: 3 1 0 4
WScript.Echo Split("a,,b", ",")(1) = "", UBound(Split("", ",")), UBound(Split("abc"))
' expect: True -1 0
WScript.Echo Replace("aAa", "a", "x", 1, -1, 1), Replace("abcabc", "b", "", 3), Replace("abab", "a", "z", 1, 1)
' expect: xxx cac zbab
Dim s, kv, pair
s = "V=1.5;I=0.02;P=0.03"
For Each pair In Split(s, ";")
  kv = Split(pair, "=")
  WScript.Echo kv(0) & " -> " & FormatNumber(CDbl(kv(1)) * 1000, 1) & " m"
Next
' expect: V -> 1,500.0 m
' expect: I -> 20.0 m
' expect: P -> 30.0 m
' A hand-written tokenizer over Mid and InStr.
Function NextToken(text, ByRef pos)
  Dim stop_at
  Do While Mid(text, pos, 1) = " "
    pos = pos + 1
  Loop
  stop_at = InStr(pos, text, " ")
  If stop_at = 0 Then stop_at = Len(text) + 1
  NextToken = Mid(text, pos, stop_at - pos)
  pos = stop_at
End Function
Dim p, tok, all
p = 1
Do
  tok = NextToken("  CONF:VOLT  10   0.001 ", p)
  If tok = "" Then Exit Do
  all = all & "[" & tok & "]"
Loop
WScript.Echo all
' expect: [CONF:VOLT][10][0.001]
