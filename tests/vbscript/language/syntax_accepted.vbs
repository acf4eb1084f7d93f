' Forms that compile although they look odd; each once refused the whole
' script. Validated on Windows by a third-party suite; Stop is a statement
' ("Stop Statement", Microsoft VBScript reference).
Option Explicit
Dim c, x, r
WScript.Echo 2 => 1, 1 =< 2, 2 >< 1, 1 => 2, 2 =< 1, 1 >< 1
' expect: True True True False False False

' End on the line of the last statement, without a colon.
c = True
If c Then x = 1 End If
WScript.Echo x
' expect: 1
If Not c Then x = 2 Else x = 3 End If
WScript.Echo x
' expect: 3
Sub SameLine()
  x = 4 End Sub
SameLine
WScript.Echo x
' expect: 4
Function Doubled(n) : Doubled = n * 2 End Function
WScript.Echo Doubled(21)
' expect: 42
Select Case x
  Case 4 : WScript.Echo "four" End Select
' expect: four

' Procedures exist before any code runs, also inside a block never entered.
If False Then
  Sub Hidden()
    WScript.Echo "hidden runs"
  End Sub
End If
Hidden
' expect: hidden runs
' Defined twice: the last definition wins, also for calls before it.
Version
' expect: second
Sub Version() : WScript.Echo "first" : End Sub
Sub Version() : WScript.Echo "second" : End Sub

' Calls through a parenthesised expression.
Class Greeter
  Public Sub Hello() : WScript.Echo "hello" : End Sub
End Class
Class Runner
  Public Default Function Run(v) : WScript.Echo "run " & v : End Function
End Class
Call (New Greeter).Hello
' expect: hello
Function Pair() : Pair = Array(10, 20) : End Function
r = (Pair)(1)
WScript.Echo r, (Pair)(0) + 1
' expect: 20 11
Dim f : Set f = New Runner
Call ((f)) (5)
' expect: run 5
(f)(6)
' expect: run 6

Stop
WScript.Echo "after stop"
' expect: after stop

' ".name" outside any With fails when it runs, as error 505.
On Error Resume Next
x = .Missing
WScript.Echo "read", Err.Number
' expect: read 505
Err.Clear
.Missing = 1
WScript.Echo "write", Err.Number
' expect: write 505
Err.Clear
Sub ShowLabel()
  WScript.Echo .Label
End Sub
With New Greeter
  ShowLabel
End With
WScript.Echo "not lexically inside", Err.Number
' expect: not lexically inside 505
