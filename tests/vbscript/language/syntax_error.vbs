WScript.Echo "never runs"
If x Then
  y = 1
' expect error: 1014
