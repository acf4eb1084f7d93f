' What a procedure leaves in Err stays there when it returns, also when it
' ran On Error Resume Next or left by Exit Sub / Exit Function.
' Evidence: Microsoft's "Clear Method (VBScript)" page: Err is cleared
' automatically only when On Error Resume Next runs (the 2009 revision took
' Exit Sub and Exit Function off that list); the plain return case was
' validated on Windows by a third-party suite.
Function Ratio(a, b)
  On Error Resume Next
  Ratio = a / b
  If Err.Number <> 0 Then
    Ratio = -1
    Exit Function
  End If
  Ratio = Ratio * 2
End Function

Function Q()
  On Error Resume Next
  Err.Raise 5
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

Sub Resets()
  On Error Resume Next
End Sub

On Error Resume Next
Q
WScript.Echo "after q", Err.Number
' expect: after q 5
Dim x : x = Q() : WScript.Echo "q as a value", Err.Number
' expect: q as a value 5
WScript.Echo Ratio(1, 0), Err.Number
' expect: -1 11
' Ratio's own On Error Resume Next clears the earlier error.
WScript.Echo Ratio(3, 2), Err.Number
' expect: 3 0
Tolerant
WScript.Echo "after tolerant", Err.Number, Err.Description
' expect: tolerant 5
' expect: after tolerant 5 Invalid procedure call or argument
TolerantExit
WScript.Echo "after exit sub", Err.Number - vbObjectError
' expect: after exit sub 1
Dim m : Set m = New Meter
WScript.Echo m.Reading, Err.Number
' expect: 0 13
' An error that leaves a procedure is the caller's to see.
Strict
WScript.Echo "after strict", Err.Number
' expect: after strict 6
' A procedure without its own handler leaves Err as it was.
Quiet
WScript.Echo "after quiet", Err.Number
' expect: after quiet 6
' One that runs On Error Resume Next clears it on the way.
Resets
WScript.Echo "after resets", Err.Number
' expect: after resets 0
