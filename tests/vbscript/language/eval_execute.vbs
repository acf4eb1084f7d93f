Dim x : x = 5
WScript.Echo Eval("x * 2 + 1")
' expect: 11
Execute "y = x + 1"
WScript.Echo y
' expect: 6
ExecuteGlobal "Function Sq(n) : Sq = n * n : End Function"
WScript.Echo Sq(7)
' expect: 49
Function Local()
  Dim z : z = 3
  Local = Eval("z + 1")
  Execute "z = 10"
  Local = Local & "," & z
End Function
WScript.Echo Local()
' expect: 4,10
Sub Hello(who) : WScript.Echo "hello " & who : End Sub
Dim f : Set f = GetRef("Hello")
f "ref"
' expect: hello ref
WScript.Echo ScriptEngine, ScriptEngineMajorVersion
' expect: VBScript 5
WScript.Echo MsgBox("shown"), "[" & InputBox("q") & "]"
' expect: 1 []
On Error Resume Next
Execute "x = (1"
WScript.Echo Err.Number, Err.Description
' expect: 1006 Expected ')'

Dim i, total
For i = 1 To 300 : total = total + Eval(i & " + 0") : Next
WScript.Echo total, Eval("Eval(""1 + 1"") * 2")
' expect: 45150 4
