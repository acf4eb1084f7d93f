' Execute: the Matches collection, its default member and For Each.
Dim re, ms, m
Set re = New RegExp
re.Pattern = "(\w+)@(\w+)\.com"
re.Global = True
Set ms = re.Execute("mail bob@example.com and ann@test.com now")
WScript.Echo ms.Count
' expect: 2
For Each m In ms
  WScript.Echo m.FirstIndex & " " & m.Length & " " & m.Value
Next
' expect: 5 15 bob@example.com
' expect: 25 12 ann@test.com
WScript.Echo ms(1)
' expect: ann@test.com
WScript.Echo ms.Item(0).SubMatches(1)
' expect: example

' Global off: the first match only.
re.Global = False
Set ms = re.Execute("mail bob@example.com and ann@test.com now")
WScript.Echo ms.Count & " " & ms(0).Value
' expect: 1 bob@example.com

' No match: an empty collection that For Each walks zero times.
Set ms = re.Execute("nothing here")
WScript.Echo ms.Count
' expect: 0
For Each m In ms
  WScript.Echo "never"
Next
WScript.Echo re.Test("x@y.com") & " " & re.Test("x@y.org")
' expect: True False
