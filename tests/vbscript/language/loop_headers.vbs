' Under On Error Resume Next a For, For Each or With header that fails goes
' on with the first statement of its body, and the body runs once
' (validated on Windows by a third-party suite).
' A For Each over an array without elements runs no turn: "The For Each
' block is entered if there is at least one element in group" (Microsoft,
' "For Each...Next Statement", VBScript reference).
On Error Resume Next
Dim x, n
n = 0
For x = 1 / 0 To 3
  n = n + 1
  WScript.Echo "for body", Err.Number
Next
WScript.Echo "for turns", n
' expect: for body 11
' expect: for turns 1
Err.Clear : n = 0
For x = 1 To CLng("three")
  n = n + 1
Next
WScript.Echo "bad bound", n, Err.Number
' expect: bad bound 1 13
Err.Clear : n = 0
For x = 1 To 3 Step 1 / 0
  n = n + 1
  Exit For
  WScript.Echo "not after exit"
Next
WScript.Echo "bad step", n, Err.Number
' expect: bad step 1 11

Err.Clear : n = 0
For Each x In Array(1, 2, 3)(1 / 0)
  n = n + 1
  WScript.Echo "each body", Err.Number
Next
WScript.Echo "each turns", n
' expect: each body 11
' expect: each turns 1
Err.Clear : n = 0
For Each x In 42
  n = n + 1
Next
WScript.Echo "not a collection", n, Err.Number
' expect: not a collection 1 451

Class Box
  Public Label
End Class
Err.Clear
With CreateBox(1 / 0)
  WScript.Echo "with body", Err.Number
End With
WScript.Echo "after with"
' expect: with body 11
' expect: after with
Function CreateBox(label)
  Set CreateBox = New Box
  CreateBox.Label = label
End Function
' Exit For inside a With whose header failed still leaves the loop.
n = 0
For x = 1 To 3
  n = n + 1
  With Nothing.Missing
    Exit For
  End With
Next
WScript.Echo "exit through with", n
' expect: exit through with 1

' Without Resume Next the header's error leaves the procedure.
Sub StrictFor()
  For x = 1 / 0 To 3
    WScript.Echo "strict body"
  Next
  WScript.Echo "strict after"
End Sub
Err.Clear
StrictFor
WScript.Echo "strict", Err.Number
' expect: strict 11

' Arrays without elements.
Dim none()
Err.Clear : n = 0
For Each x In none
  n = n + 1
Next
WScript.Echo "uninitialised", n, Err.Number
' expect: uninitialised 0 0
Dim grown() : ReDim grown(2)
Erase grown
For Each x In grown
  n = n + 1
Next
WScript.Echo "erased", n
' expect: erased 0
ReDim grown(-1)
For Each x In grown
  n = n + 1
Next
WScript.Echo "empty bounds", n, UBound(grown)
' expect: empty bounds 0 -1
