' Counting words with a Dictionary, text comparison.
Dim counts : Set counts = CreateObject("Scripting.Dictionary")
counts.CompareMode = 1
Dim w, k
For Each w In Split("read write READ query read", " ")
  counts(w) = counts(w) + 1
Next
For Each k In counts.Keys
  WScript.Echo k, counts(k)
Next
' expect: read 3
' expect: write 1
' expect: query 1
WScript.Echo counts.Count, counts.Exists("Read"), TypeName(counts.Items)
' expect: 3 True Variant()
counts.Remove "write"
WScript.Echo Join(counts.Keys, ","), counts.Item("query")
' expect: read,query 1
counts.Key("read") = "rd"
WScript.Echo Join(counts.Keys, ",")
' expect: rd,query
Dim d2 : Set d2 = CreateObject("Scripting.Dictionary")
d2.Add 1, "one"
WScript.Echo d2.Exists("1"), d2.Exists(1), d2(1)
' expect: False True one
On Error Resume Next
d2.Add 1, "again"
WScript.Echo Err.Number, Err.Description
' expect: 457 This key is already associated with an element of this collection
