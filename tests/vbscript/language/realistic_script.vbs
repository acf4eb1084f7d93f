' A script shaped like the ones playback files carry.
Option Explicit

Const DEFAULT_VOLTS = 1.5
Dim settings, requestCount

Set settings = CreateObject("Scripting.Dictionary")
settings.CompareMode = vbTextCompare
settings("VOLT") = DEFAULT_VOLTS
settings("CURR") = 0.01
requestCount = 0

Function HandleRequest(ByVal command)
  Dim parts, key, reply
  requestCount = requestCount + 1
  command = Trim(UCase(command))
  If Right(command, 1) = "?" Then
    key = Left(command, Len(command) - 1)
    If settings.Exists(key) Then
      reply = FormatValue(settings(key))
    Else
      reply = "ERR:UNKNOWN " & key
    End If
  Else
    parts = Split(command, " ")
    If UBound(parts) <> 1 Then
      reply = "ERR:SYNTAX"
    ElseIf Not IsNumeric(parts(1)) Then
      reply = "ERR:VALUE"
    Else
      settings(parts(0)) = CDbl(parts(1))
      reply = "OK"
    End If
  End If
  HandleRequest = reply
End Function

Function FormatValue(v)
  Select Case VarType(v)
    Case vbDouble, vbSingle
      FormatValue = CStr(v) & "V"
    Case Else
      FormatValue = CStr(v)
  End Select
End Function

Dim requests, r
requests = Array("volt?", "VOLT 2.25", "volt?", "freq?", "CURR x", "bad", " curr? ")
For Each r In requests
  WScript.Echo r & " -> " & HandleRequest(r)
Next
WScript.Echo requestCount
' expect: volt? -> 1.5V
' expect: VOLT 2.25 -> OK
' expect: volt? -> 2.25V
' expect: freq? -> ERR:UNKNOWN FREQ
' expect: CURR x -> ERR:VALUE
' expect: bad -> ERR:SYNTAX
' expect:  curr?  -> 0.01V
' expect: 7

On Error Resume Next
Err.Raise 5
WScript.Echo Err
' expect: 5
