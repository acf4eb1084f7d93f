' A member without parameters called with arguments indexes its result.
Class Holder
  Public Property Get List() : List = Array("a", "b", "c") : End Property
  Public Function Make() : Make = Array(1, 2) : End Function
End Class
Dim h : Set h = New Holder
WScript.Echo h.List(1), h.Make(1), UBound(h.List)
' expect: b 2 2
Dim d : Set d = CreateObject("Scripting.Dictionary")
d.Add "x", 10 : d.Add "y", 20
WScript.Echo d.Keys()(1), d.Items()(0)
' expect: y 10
