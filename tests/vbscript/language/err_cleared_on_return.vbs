' A procedure that turned on Resume Next leaves Err clear when it returns.
Function Ratio(a, b)
  On Error Resume Next
  Ratio = a / b
  If Err.Number <> 0 Then
    Ratio = -1
    Exit Function
  End If
  Ratio = Ratio * 2
End Function

Sub Tolerant()
  On Error Resume Next
  Err.Raise 5
  WScript.Echo "tolerant", Err.Number
End Sub

Sub TolerantExit()
  On Error Resume Next
  Err.Raise vbObjectError + 1
  If Err.Number <> 0 Then Exit Sub
  WScript.Echo "not reached"
End Sub

Class Meter
  Public Property Get Reading()
    On Error Resume Next
    Reading = CDbl("n/a")
    If Err.Number <> 0 Then Reading = 0
  End Property
End Class

Sub Strict()
  On Error Resume Next
  On Error GoTo 0
  Err.Raise 6
End Sub

Sub Quiet()
End Sub

On Error Resume Next
WScript.Echo Ratio(1, 0), Err.Number
' expect: -1 0
WScript.Echo Ratio(3, 2), Err.Number
' expect: 3 0
Tolerant
WScript.Echo "after tolerant", Err.Number
' expect: tolerant 5
' expect: after tolerant 0
TolerantExit
WScript.Echo "after exit sub", Err.Number
' expect: after exit sub 0
Dim m : Set m = New Meter
WScript.Echo m.Reading, Err.Number
' expect: 0 0
' An error that leaves a procedure is the caller's to see.
Strict
WScript.Echo "after strict", Err.Number
' expect: after strict 6
' A procedure without its own handler leaves Err as it was.
Quiet
WScript.Echo "after quiet", Err.Number
' expect: after quiet 6
