Dim o : Set o = Nothing
o.Run
' expect error: 91
