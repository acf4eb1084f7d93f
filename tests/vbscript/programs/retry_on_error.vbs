' A retry loop that checks Err after each attempt. The attempt fails
' twice, then succeeds; the helper's own handler leaves Err clear.
Dim attempts : attempts = 0
Function ReadDevice()
  attempts = attempts + 1
  If attempts < 3 Then Err.Raise vbObjectError + 100, "Bus", "no response (" & attempts & ")"
  ReadDevice = "+4.200E+00"
End Function
Function TryRead(ByRef value)
  On Error Resume Next
  value = ReadDevice()
  TryRead = (Err.Number = 0)
  If Err.Number <> 0 Then WScript.Echo "retry:", Err.Description
End Function

Dim v, tries
Do
  tries = tries + 1
  If TryRead(v) Then Exit Do
Loop While tries < 5
WScript.Echo "got", CDbl(v), "after", tries, "tries, Err", Err.Number
' expect: retry: no response (1)
' expect: retry: no response (2)
' expect: got 4.2 after 3 tries, Err 0

' A failing test under Resume Next runs the guarded statement: check Err
' before trusting what an If decided.
On Error Resume Next
Dim status : status = "ok"
If ReadDevice() = "never" Then status = "matched"
WScript.Echo status, Err.Number
' expect: ok 0
Dim missing
If missing.Ready Then status = "ready?"
WScript.Echo status, Err.Number
' expect: ready? 424
' A loop test that fails every time would never end, so poll a
' counter that fails only once.
Err.Clear
Dim n : n = 0
Do Until 3 / (2 - n) < 0
  n = n + 1
Loop
WScript.Echo "polled", n, Err.Number
' expect: polled 3 11
