' A command table as a Select Case on the upper-cased verb.
Function Handle(cmd)
  Dim verb, arg, p
  p = InStr(cmd, " ")
  If p > 0 Then
    verb = UCase(Left(cmd, p - 1)) : arg = Mid(cmd, p + 1)
  Else
    verb = UCase(cmd) : arg = ""
  End If
  Select Case verb
    Case "*IDN?" : Handle = "ACME,DMM100,0,1.0"
    Case "*RST", "*CLS" : Handle = ""
    Case "MEAS:VOLT?", "MEAS:CURR?" : Handle = "+1.000000E+00"
    Case "VOLT" : Handle = "set " & CDbl(arg)
    Case Else : Handle = "ERR -113"
  End Select
End Function
Dim c
For Each c In Array("*idn?", "*RST", "meas:volt?", "VOLT 2.5", "bogus")
  WScript.Echo "[" & Handle(c) & "]"
Next
' expect: [ACME,DMM100,0,1.0]
' expect: []
' expect: [+1.000000E+00]
' expect: [set 2.5]
' expect: [ERR -113]
Dim n : n = 2
Select Case True
  Case n > 5 : WScript.Echo "big"
  Case n > 1 : WScript.Echo "medium"
  Case Else : WScript.Echo "small"
End Select
' expect: medium
