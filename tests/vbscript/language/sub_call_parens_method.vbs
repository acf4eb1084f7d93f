Dim d : Set d = CreateObject("Scripting.Dictionary")
d.Add("a", 1)
' expect error: 1044
