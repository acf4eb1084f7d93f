' Literals of every kind and how they print.
WScript.Echo 42, -7, 3.5, .25, 1E+16, 1.5E-3
' expect: 42 -7 3.5 0.25 1E+16 0.0015
WScript.Echo &HFF, &H10, &O17, &HFFFF, &HFFFF&, &H10000
' expect: 255 16 15 -1 65535 65536
WScript.Echo TypeName(1), TypeName(32768), TypeName(1.0), TypeName(&HFFFF)
' expect: Integer Long Double Integer
WScript.Echo "say ""hi""", Len(""""), "a" & "" & "b"
' expect: say "hi" 1 ab
WScript.Echo True, False, IsNull(Null), IsEmpty(Empty)
' expect: True False True True
WScript.Echo TypeName(#1/2/2003#), Year(#1/2/2003#), Month(#1/2/2003#)
' expect: Date 2003 1
Dim s : s = "one" & _
  " two" & _
  " three"
WScript.Echo s
' expect: one two three
Rem a Rem comment
WScript.Echo [my var]
' expect:
WScript.Echo TypeName(-1), TypeName(-32768), TypeName(-2.5)
' expect: Integer Long Double
