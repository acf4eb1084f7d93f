' IgnoreCase, Global and Multiline, and how ^ and $ treat line ends.
Dim re, text
Set re = New RegExp
WScript.Echo re.Pattern = "" And Not re.Global And Not re.IgnoreCase And Not re.Multiline
' expect: True
text = "Line1" & vbCrLf & "line2" & vbLf & "LINE3"
re.Pattern = "^line\d$"
re.Global = True
WScript.Echo re.Execute(text).Count
' expect: 0
re.Multiline = True
WScript.Echo re.Execute(text).Count
' expect: 1
re.IgnoreCase = True
WScript.Echo re.Execute(text).Count
' expect: 3
WScript.Echo re.Global & " " & re.IgnoreCase & " " & re.Multiline
' expect: True True True

' $ is the very end, not before a final line feed.
re.Multiline = False
re.Pattern = "abc$"
WScript.Echo re.Test("abc" & vbLf) & " " & re.Test("abc")
' expect: False True
' . matches anything but a line feed.
re.Pattern = "a.b"
WScript.Echo re.Test("a" & vbCr & "b") & " " & re.Test("a" & vbLf & "b")
' expect: True False
