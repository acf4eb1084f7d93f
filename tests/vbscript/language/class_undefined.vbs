Dim x : Set x = New NoSuchClass
' expect error: 506
