' Replace with group references, Global on and off.
Dim re
Set re = New RegExp
re.Pattern = "(\w+)\s(\w+)"
WScript.Echo re.Replace("hello world again", "$2 $1")
' expect: world hello again

re.Pattern = "o"
WScript.Echo re.Replace("foo boo", "0")
' expect: f0o boo
re.Global = True
WScript.Echo re.Replace("foo boo", "0")
' expect: f00 b00

' Empty matches: the search moves on by one character.
re.Pattern = "x*"
WScript.Echo re.Replace("abc", "-")
' expect: -a-b-c-

re.Global = False
re.Pattern = "b(o+)"
WScript.Echo re.Replace("a boo c", "[$`|$&|$'|$1|$$|$2]")
' expect: a [a |boo| c|oo|$|$2] c

' $10 with fewer than ten groups is $1 followed by "0".
re.Pattern = "(\d)"
WScript.Echo re.Replace("x7y", "<$10>")
' expect: x<70>y

re.Global = True
re.IgnoreCase = True
re.Pattern = "volt"
WScript.Echo re.Replace("VOLT volt Volt", "V")
' expect: V V V
