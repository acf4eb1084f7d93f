Sub Report(a, b)
  WScript.Echo a, b
End Sub
Report(1, 2)
' expect error: 1044
