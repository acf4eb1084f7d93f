Dim n
For n = 1 To 4
  If n = 1 Then
    WScript.Echo "one"
  ElseIf n = 2 Then
    WScript.Echo "two"
  Else
    WScript.Echo "many"
  End If
Next
' expect: one
' expect: two
' expect: many
' expect: many
If n > 3 Then WScript.Echo "big" Else WScript.Echo "small"
' expect: big
If n < 3 Then WScript.Echo "small" Else WScript.Echo "big": WScript.Echo "still else"
' expect: big
' expect: still else
If Null Then WScript.Echo "null is true" Else WScript.Echo "null is false"
' expect: null is false
Function Kind(v)
  Select Case v
    Case 1, 2, 3
      Kind = "small"
    Case "a", "b"
      Kind = "letter"
    Case Else
      Kind = "other"
  End Select
End Function
WScript.Echo Kind(2), Kind("b"), Kind(9), Kind(Null)
' expect: small letter other other
Select Case True
  Case n > 10: WScript.Echo "gt10"
  Case n > 3: WScript.Echo "gt3"
End Select
' expect: gt3
