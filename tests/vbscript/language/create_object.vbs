Dim o : Set o = CreateObject("No.Such.Object")
' expect error: 429
