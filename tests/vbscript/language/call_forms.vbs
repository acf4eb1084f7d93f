' The call statement forms that are allowed.
Sub Bump(n)
  n = n + 1
End Sub
Sub Report(a, b)
  WScript.Echo a & "," & b
End Sub
Dim x : x = 1
Bump x
WScript.Echo x
' expect: 2
' One argument in parentheses is passed by value.
Bump(x)
WScript.Echo x
' expect: 2
Call Bump(x)
WScript.Echo x
' expect: 3
Call Report(1, 2)
' expect: 1,2
Report (1), (2)
' expect: 1,2
Report 3, 4
' expect: 3,4
Dim d : Set d = CreateObject("Scripting.Dictionary")
d.Add "k", 1
Call d.Add("j", 2)
WScript.Echo d.Count
' expect: 2
