' Errors raised by the script and by the engine, read through Err.
Function Thrower()
  Err.Raise vbObjectError + 42, "Dev", "device timeout"
  WScript.Echo "not here"
End Function
Sub Level2()
  Dim q : q = 1 / 0
End Sub
Sub Level1()
  Level2
  WScript.Echo "level1 continues"
End Sub
Function SafeDiv(a, b)
  On Error Resume Next
  SafeDiv = a / b
  If Err.Number <> 0 Then SafeDiv = Null
End Function

On Error Resume Next
Dim res : res = Thrower()
WScript.Echo Err.Number - vbObjectError, Err.Description, Err.Source
' expect: 42 device timeout Dev
Err.Clear
Level1
WScript.Echo "top", Err.Number
' expect: top 11
If IsNull(SafeDiv(1, 0)) Then WScript.Echo "null result", Err.Number
' expect: null result 11
Err.Clear
Dim i, total
For i = 1 To 4
  total = total + 12 / (i - 2)
  If Err.Number <> 0 Then WScript.Echo "err at", i : Err.Clear
Next
WScript.Echo total
' expect: err at 2
' expect: 6
WScript.Echo Mid("abc", 0, 1)
WScript.Echo Err.Number : Err.Clear
' expect: 5
Dim big : big = CInt(40000)
WScript.Echo Err.Number, Err.Description : Err.Clear
' expect: 6 Overflow
Dim nn : Set nn = Nothing
nn.Go
WScript.Echo Err.Number, Err.Description : Err.Clear
' expect: 91 Object variable not set
Dim s : s = "x" : s.Foo
WScript.Echo Err.Number, Err.Description : Err.Clear
' expect: 424 Object required
Call NoSuchSub(1)
WScript.Echo Err.Number, Err.Description : Err.Clear
' expect: 13 Type mismatch
Err.Raise 5, , "custom text"
WScript.Echo Err.Number, Err.Description, Err.Source : Err.Clear
' expect: 5 custom text Microsoft VBScript runtime error
' A failing For Each header resumes with the first statement of the body.
Dim e
For Each e In 5
  WScript.Echo "each body"
Next
WScript.Echo "after each", Err.Number
' expect: each body
' expect: after each 451
