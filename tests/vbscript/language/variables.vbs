Dim a, b, c(2)
a = 1 : b = a + 1
WScript.Echo a, b, UBound(c)
' expect: 1 2 2
Const Pi = 3.14, Greeting = "hi"
WScript.Echo Pi, Greeting
' expect: 3.14 hi
implicit = "made by use"
WScript.Echo implicit
' expect: made by use
Sub SetGlobal()
  counter = 5
  localOnly = 6
End Sub
counter = 1
SetGlobal
WScript.Echo counter, "[" & localOnly & "]"
' expect: 5 []
Dim o
Set o = Nothing
WScript.Echo IsObject(o), o Is Nothing
' expect: True True
