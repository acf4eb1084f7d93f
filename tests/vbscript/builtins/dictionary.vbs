' Scripting.Dictionary: default Item, insertion order, For Each over keys,
' numeric keys by value, text compare mode and its errors.
Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1
d.Add "b", 2
d("c") = 3
WScript.Echo d.Count & " " & d("b") & " " & d.Item("c") & " " & d.Exists("a") & " " & d.Exists("z")
' expect: 3 2 3 True False
For Each k In d
  WScript.Echo k & "=" & d(k)
Next
' expect: a=1
' expect: b=2
' expect: c=3
x = d("missing")
WScript.Echo d.Count & " " & IsEmpty(x) & " " & d.Exists("missing")
' expect: 4 True True
d.Remove "missing"
d.Key("a") = "A"
WScript.Echo Join(d.Keys, ",") & " " & Join(d.Items, ",") & " " & UBound(d.Keys)
' expect: A,b,c 1,2,3 2
d.Add 1, "int"
WScript.Echo d(1.0) & " " & d.Exists("1") & " " & d.Exists(CLng(1))
' expect: int False True
Set inner = CreateObject("Scripting.Dictionary")
Set d("nested") = inner
inner("x") = "deep"
WScript.Echo d("nested")("x") & " " & TypeName(d("nested"))
' expect: deep Dictionary

On Error Resume Next
d.Add "b", 99
WScript.Echo Err.Number & " " & Err.Description
' expect: 457 This key is already associated with an element of this collection
Err.Clear
d.Remove "nothere"
WScript.Echo Err.Number & " " & Err.Description
' expect: 32811 Element not found
Err.Clear
d.CompareMode = 1
WScript.Echo "CompareMode while filled: " & Err.Number
' expect: CompareMode while filled: 5
On Error GoTo 0

d.RemoveAll
WScript.Echo d.Count & " " & UBound(d.Keys)
' expect: 0 -1
Set t = CreateObject("Scripting.Dictionary")
t.CompareMode = vbTextCompare
t.Add "Key", 1
WScript.Echo t.Exists("KEY") & " " & t("kEy") & " " & t.CompareMode & " " & Join(t.Keys)
' expect: True 1 1 Key
