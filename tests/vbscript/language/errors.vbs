On Error Resume Next
Dim x : x = 1 / 0
WScript.Echo Err.Number, Err.Description, Err.Source
' expect: 11 Division by zero Microsoft VBScript runtime error
Err.Clear
WScript.Echo Err.Number, "[" & Err.Description & "]"
' expect: 0 []
Err.Raise 1000, "mysource", "my text"
WScript.Echo Err.Number, Err.Source, Err.Description
' expect: 1000 mysource my text
Err.Raise vbObjectError + 7
WScript.Echo Err.Number = vbObjectError + 7
' expect: True
' Raise keeps the description and source of an error not yet cleared.
Err.Raise 9
WScript.Echo Err.Description, Err.Source
' expect: my text mysource
Err.Clear
Err.Raise 9
WScript.Echo Err.Description
' expect: Subscript out of range
Sub Fails()
  WScript.Echo "in fails"
  Dim y : y = CInt("abc")
  WScript.Echo "not reached"
End Sub
Err.Clear
Fails
WScript.Echo "resumed", Err.Number
' expect: in fails
' expect: resumed 13
Sub Handles()
  On Error Resume Next
  Err.Raise 6
  WScript.Echo "handled", Err.Number
End Sub
Handles
' expect: handled 6
On Error GoTo 0
WScript.Echo Err.Number
' expect: 0
Err.Raise 424
' expect error: 424
