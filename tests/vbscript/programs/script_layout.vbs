' Layout forms: Option Explicit, constants, continuations, one-line If.
Option Explicit
Const MAX_RETRY = 3, NAME = "dmm"
Dim msg, n, ok
msg = "Say ""hi""" & vbTab & "|" & _
      " next"
WScript.Echo msg
' expect: Say "hi"	| next
n = 2 : ok = False
If n = 2 Then WScript.Echo "two" : ok = True Else WScript.Echo "other"
WScript.Echo ok
' expect: two
' expect: True
If n = 3 Then WScript.Echo "three" Else WScript.Echo "not three" : WScript.Echo "still else"
' expect: not three
' expect: still else
REM a comment line
WScript.Echo Len(vbCrLf), Asc(vbLf), vbNullString = "", MAX_RETRY, NAME
' expect: 2 10 True 3 dmm
Function Retry(ByVal tries)
  Const STEP_MS = 100
  Dim waited : waited = 0
  Do While tries > 0
    tries = tries - 1
    waited = waited + STEP_MS
    If tries = 1 Then Exit Do
  Loop
  Retry = waited
End Function
WScript.Echo Retry(MAX_RETRY)
' expect: 200
Dim i, j, out
For i = 1 To 3
  For j = 1 To 3
    If j = 2 Then Exit For
    out = out & i & j & " "
  Next
Next
WScript.Echo out
' expect: 11 21 31 
WScript.Echo Eval("1 + 2 * 3")
' expect: 7
Execute "Dim zz : zz = 4 : WScript.Echo zz"
' expect: 4
