' Long loops with strings finish well inside the limit.
Dim s, i
For i = 1 To 2000 : s = s & "ab" : Next
WScript.Echo Len(s)
' expect: 4000
