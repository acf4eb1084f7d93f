Dim a()
ReDim a(100000, 100000)
' expect error: 7
