' String functions: Null passing, positions past the end, optional
' arguments, text comparison and Split limits.
WScript.Echo Len("hello") & " " & IsNull(Len(Null)) & " " & Len(-1234) & " " & Len(Empty) & " " & LenB("abc")
' expect: 5 True 5 0 6
WScript.Echo "[" & Mid("hello", 2, 3) & "][" & Mid("hello", 9) & "][" & Mid("hello", 4, 99) & "][" & Mid("hello", 3) & "]"
' expect: [ell][][lo][llo]
WScript.Echo IsNull(Mid(Null, 1)) & " " & IsNull(Left(Null, 1)) & " " & IsNull(UCase(Null)) & " " & IsNull(Trim(Null)) & " " & IsNull(InStr(Null, "a"))
' expect: True True True True True
WScript.Echo Left("hello", 2) & " " & Right("hello", 3) & " " & Left("hi", 10) & " " & Right("hi", 10)
' expect: he llo hi hi
WScript.Echo InStr("abcabc", "c") & " " & InStr(4, "abcabc", "c") & " " & InStr(1, "ABC", "b", vbTextCompare) & " " & InStr("ABC", "b") & " " & InStr("abc", "")
' expect: 3 6 2 0 1
WScript.Echo InStrRev("abcabc", "c") & " " & InStrRev("abcabc", "c", 5) & " " & InStrRev("abc", "x")
' expect: 6 3 0
WScript.Echo UCase("abc") & LCase("DEF") & " [" & Trim("  x  ") & "][" & LTrim("  x  ") & "][" & RTrim("  x  ") & "]"
' expect: ABCdef [x][x  ][  x]
WScript.Echo Replace("a.b.c", ".", "-") & " " & Replace("a.b.c", ".", "-", 3) & " " & Replace("aaaa", "a", "b", 1, 2) & " " & Replace("AbA", "a", "x", 1, -1, vbTextCompare)
' expect: a-b-c b-c bbaa xbx
WScript.Echo "[" & Space(3) & "] " & String(3, "xy") & " " & String(2, 65) & " " & StrReverse("abc")
' expect: [   ] xxx AA cba
WScript.Echo StrComp("a", "B") & " " & StrComp("a", "B", vbTextCompare) & " " & StrComp("abc", "ABC", 1) & " " & IsNull(StrComp("a", Null))
' expect: 1 -1 0 True
WScript.Echo Asc("A") & " " & Chr(66) & " " & AscW(ChrW(8364)) & " " & Asc(Chr(128)) & " " & AscW(Chr(128))
' expect: 65 B 8364 128 8364
parts = Split("a,b,,c", ",")
WScript.Echo UBound(parts) & " [" & Join(parts, "|") & "]"
' expect: 3 [a|b||c]
parts = Split("a,b,c", ",", 2)
WScript.Echo UBound(parts) & " " & parts(0) & " " & parts(1)
' expect: 1 a b,c
WScript.Echo UBound(Split("")) & " " & UBound(Split("abc", "")) & " " & Join(Split("aXbxc", "x", -1, vbTextCompare), "+") & " " & Join(Split("one two"), "+")
' expect: -1 0 a+b+c one+two
WScript.Echo Join(Filter(Array("apple", "Banana", "cherry"), "an")) & " / " & Join(Filter(Array("apple", "Banana", "cherry"), "A", False, vbTextCompare))
' expect: Banana / cherry
WScript.Echo Join(Array(1, 2, 3)) & " [" & Join(Array()) & "]"
' expect: 1 2 3 []

On Error Resume Next
x = Mid("abc", 0)
WScript.Echo "Mid start 0: " & Err.Number
' expect: Mid start 0: 5
Err.Clear
x = Left("abc", -1)
WScript.Echo "Left -1: " & Err.Number
' expect: Left -1: 5
Err.Clear
x = Asc("")
WScript.Echo "Asc empty: " & Err.Number
' expect: Asc empty: 5
Err.Clear
x = Replace(Null, "a", "b")
WScript.Echo "Replace Null: " & Err.Number
' expect: Replace Null: 94
Err.Clear
x = Join("abc")
WScript.Echo "Join text: " & Err.Number
' expect: Join text: 13
Err.Clear
x = Chr(300)
WScript.Echo "Chr(300): " & Err.Number
' expect: Chr(300): 5
