Function FindFirst(arr, v)
  Dim i
  FindFirst = -1
  For i = 0 To UBound(arr)
    Select Case arr(i)
      Case v
        FindFirst = i
        Exit For
    End Select
  Next
End Function
WScript.Echo FindFirst(Array(3, 5, 7, 5), 5), FindFirst(Array(1), 9)
' expect: 1 -1
Function Nested()
  Dim i, j
  For i = 1 To 3
    Do
      j = j + 1
      If j > 4 Then Exit Function
      If j Mod 2 = 0 Then Exit Do
    Loop
  Next
  Nested = "completed"
End Function
WScript.Echo "[" & Nested() & "]"
' expect: []
Dim i, log
For i = 1 To 5
  If i = 2 Then i = 4
  log = log & i
Next
WScript.Echo log
' expect: 145
On Error Resume Next
Dim k, errs
For k = 1 To 3
  errs = errs + 0
  Dim bad : bad = 10 / (k - 2)
  If Err.Number <> 0 Then errs = errs + 1 : Err.Clear
Next
WScript.Echo errs
' expect: 1
