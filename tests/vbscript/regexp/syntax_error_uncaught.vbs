' An invalid pattern stops a script that does not handle errors.
Dim re
Set re = New RegExp
re.Pattern = "(abc"
WScript.Echo "assigned"
' expect: assigned
re.Execute "abc"
WScript.Echo "not reached"
' expect error: 5017
