' Replace with a function reference: called with the match, its groups,
' the position and the whole text.
Function Swap(m, a, b, pos, src)
  Swap = b & a & "@" & pos
End Function
Dim re
Set re = New RegExp
re.Pattern = "(\d)(\d)"
re.Global = True
WScript.Echo re.Replace("12 34", GetRef("Swap"))
' expect: 21@0 43@3
