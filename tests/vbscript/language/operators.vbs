' Precedence and the typing rules of the operators.
' Negation binds tighter than ^ ("Operator Precedence (VBScript)" on
' Microsoft's site lists it first; -x^2 = 9 was validated on Windows by a
' third-party suite).
WScript.Echo 2 + 3 * 4, (2 + 3) * 4, -2 ^ 2, 2 ^ -1, 2 ^ 3 ^ 2
' expect: 14 20 4 0.5 64
Dim x : x = 3
WScript.Echo -x ^ 2, -x ^ 3, 2 ^ -x ^ 2, 10 - x ^ 2, -x * -x, - - x ^ 2
' expect: 9 -27 0.015625 1 9 9
WScript.Echo 7 \ 2, -7 \ 2, 7 Mod 3, -7 Mod 3, 7.6 \ 2, 10 / 4
' expect: 3 -3 1 -1 4 2.5
WScript.Echo 1 + 2 & 3, 1 & 2 + 3
' expect: 33 15
WScript.Echo "1" + 2, "1" & 2, "1" + "2", TypeName("1" + 2)
' expect: 3 12 12 Double
Dim i : i = 32767
WScript.Echo TypeName(i), TypeName(i + 1), i + 1
' expect: Integer Long 32768
Dim l : l = 2147483647
WScript.Echo TypeName(l + 1), l + 1
' expect: Double 2147483648
WScript.Echo 1 / 3
' expect: 0.333333333333333
WScript.Echo 5 = 5, 5 <> 5, 3 < 4, "a" < "b", "B" < "a", 2 >= 2
' expect: True False True True True True
WScript.Echo Not True, Not 0, True And False, True Or False, True Xor True
' expect: False -1 False True False
WScript.Echo 12 And 10, 12 Or 3, 12 Xor 10, Not 5
' expect: 8 15 6 -6
WScript.Echo True Eqv True, False Imp False, True Imp False
' expect: True True False
WScript.Echo IsNull(Null + 1), IsNull(Null & Null), "x" & Null, IsNull(Null = 1)
' expect: True True x True
WScript.Echo Not 1 = 2, 1 + 1 = 2 And 3 > 2
' expect: True True
Dim e
WScript.Echo e + 1, "[" & e & "]", e = 0, e = ""
' expect: 1 [] True True
Dim a, b
Set a = CreateObject("Scripting.Dictionary")
Set b = a
WScript.Echo a Is b, a Is Nothing, Nothing Is Nothing
' expect: True False True
