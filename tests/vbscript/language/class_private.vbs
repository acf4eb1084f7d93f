Class Secret
  Private hidden
End Class
Dim s : Set s = New Secret
WScript.Echo "made"
' expect: made
s.hidden = 1
' expect error: 438
