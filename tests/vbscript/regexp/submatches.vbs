' SubMatches: groups in order, Empty for a group that took no part.
Dim re, ms, m, sm, s
Set re = New RegExp
re.Pattern = "^:?MEAS(ure)?:VOLT(age)?:DC\? *(\d+)?"
Set ms = re.Execute(":MEAS:VOLTage:DC? 42")
Set m = ms(0)
Set sm = m.SubMatches
WScript.Echo sm.Count
' expect: 3
WScript.Echo IsEmpty(sm(0)) & " " & sm(1) & " " & sm.Item(2)
' expect: True age 42
For Each s In sm
  WScript.Echo "[" & s & "]"
Next
' expect: []
' expect: [age]
' expect: [42]
WScript.Echo m.Value
' expect: :MEAS:VOLTage:DC? 42

' A back-reference to an unset group matches empty.
re.Pattern = "(a)?b\1c"
WScript.Echo re.Test("bc")
' expect: True
