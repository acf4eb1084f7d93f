Dim x
x = 1 / 0
' expect error: 11
