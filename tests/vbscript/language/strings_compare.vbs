WScript.Echo "10" < "9", 10 < 9, "abc" = "ABC", StrComp("abc", "ABC", 1)
' expect: True False False 0
Dim s : s = "x"
s = s & 1 & True & Null
WScript.Echo s
' expect: x1True
WScript.Echo Len("héllo"), UCase("straße")
' expect: 5 STRAßE
' A number compares below any string, as documented for variants.
Dim n : n = "5"
WScript.Echo n = 5, n > 5, CInt(n) = 5
' expect: False True True
