' Patterns that are not VBScript syntax raise 5017 when used.
Dim re, p
Set re = New RegExp
On Error Resume Next
For Each p In Array("(abc", "a++", "(?<=a)b", "(?i)abc", "[z-a]", "*a", "ab\")
  Err.Clear
  re.Pattern = p
  re.Test "abc"
  WScript.Echo p & " " & Err.Number & " " & Err.Description
Next
' expect: (abc 5017 Syntax error in regular expression
' expect: a++ 5017 Syntax error in regular expression
' expect: (?<=a)b 5017 Syntax error in regular expression
' expect: (?i)abc 5017 Syntax error in regular expression
' expect: [z-a] 5017 Syntax error in regular expression
' expect: *a 5017 Syntax error in regular expression
' expect: ab\ 5017 Syntax error in regular expression
Err.Clear
re.Pattern = "a\Z"
WScript.Echo re.Test("aZ") & " " & Err.Number
' expect: True 0
