' Strings past the engine's limit fail with "Out of memory", not a crash.
Dim s : s = Space(1000)
On Error Resume Next
Do
  s = s & s
Loop Until Err.Number <> 0
WScript.Echo Err.Number, Err.Description, Len(s) > 60000000
' expect: 7 Out of memory True
