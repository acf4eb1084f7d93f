' Under On Error Resume Next a failing test resumes with the statement
' after it, which is inside the If, Case or loop it guards; a failing
' Select Case subject is the exception.
On Error Resume Next
If 1 / 0 Then WScript.Echo "in"
' expect: in
WScript.Echo Err.Number
' expect: 11
If 1 / 0 Then WScript.Echo "then" Else WScript.Echo "else"
' expect: then
Err.Clear
If CInt("x") Then
  WScript.Echo "block then", Err.Number
Else
  WScript.Echo "block else"
End If
WScript.Echo "after if"
' expect: block then 13
' expect: after if
If False Then
  WScript.Echo "first"
ElseIf CLng("1,5x") Then
  WScript.Echo "elseif", Err.Number
Else
  WScript.Echo "else"
End If
' expect: elseif 13
Err.Clear
If True Then
  WScript.Echo "plain true"
ElseIf 1 / 0 Then
  WScript.Echo "never"
End If
WScript.Echo Err.Number
' expect: plain true
' expect: 0

' A Select Case whose subject fails runs no Case at all, not even Case Else
' (validated on Windows by a third-party suite).
Err.Clear
Select Case CLng("abc")
  Case 1
    WScript.Echo "first case", Err.Number
  Case Else
    WScript.Echo "case else"
End Select
WScript.Echo "after select", Err.Number
' expect: after select 13
Err.Clear
Select Case 1 / 0
  Case Else
    WScript.Echo "case else"
End Select
WScript.Echo "after select", Err.Number
' expect: after select 11
Dim k : k = 5
Select Case k
  Case 1 : WScript.Echo "one"
  Case 1 / 0 : WScript.Echo "failing case"
  Case 5 : WScript.Echo "five"
End Select
' expect: failing case

' The loop test fails once (at n = 2) and the body still runs.
Dim n : n = 0
Do While 6 / (2 - n) > 0
  n = n + 1
Loop
WScript.Echo "do while", n
' expect: do while 3
n = 0
While 6 / (2 - n) > 0
  n = n + 1
Wend
WScript.Echo "while", n
' expect: while 3
n = 0
Do Until 6 / (2 - n) < 0
  n = n + 1
Loop
WScript.Echo "do until", n
' expect: do until 3
' At the bottom the next statement is the one after the loop.
n = 0
Do
  n = n + 1
Loop While 1 / 0
WScript.Echo "loop while", n
' expect: loop while 1
n = 0
Do
  n = n + 1
Loop Until 1 / 0
WScript.Echo "loop until", n
' expect: loop until 1

' Without Resume Next the error still stops the procedure.
Sub Strict()
  If 1 / 0 Then WScript.Echo "strict in"
  WScript.Echo "strict after"
End Sub
Err.Clear
Strict
WScript.Echo "strict", Err.Number
' expect: strict 11
