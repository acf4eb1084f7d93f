' CreateObject("VBScript.RegExp") gives the same object as New RegExp, with
' the ProgID matched whatever its case; ProgIDs we do not provide still
' fail with 429 (createobject_unknown.vbs). Evidence: Windows behaviour as
' reported against us; ProgIDs live in the registry, whose key names the
' Microsoft documentation states are not case sensitive.
Dim re : Set re = CreateObject("VBScript.RegExp")
WScript.Echo TypeName(re) = TypeName(New RegExp)
' expect: True
re.Pattern = "(\d+)-(\d+)"
re.Global = True
Dim m : Set m = re.Execute("10-20 x 3-4")
WScript.Echo m.Count, m(1).SubMatches(0), re.Replace("1-2", "$2-$1")
' expect: 2 3 2-1
Set re = CreateObject("vbscript.REGEXP")
re.IgnoreCase = True
re.Pattern = "ab"
WScript.Echo re.Test("xAB")
' expect: True
Dim d : Set d = CreateObject("SCRIPTING.dictionary")
d.Add "k", 1
WScript.Echo d.Count
' expect: 1
