Dim d : Set d = CreateObject("Scripting.Dictionary")
d("a") = 1
d("b") = d("a") + 1
WScript.Echo d("b"), d.Count, d.Exists("a")
' expect: 2 2 True
Class Pt
  Public X
  Public Function Clone()
    Dim c : Set c = New Pt
    c.X = X
    Set Clone = c
  End Function
  Public Function Self() : Set Self = Me : End Function
End Class
Dim p : Set p = New Pt
p.X = 5
Dim q : Set q = p.Clone()
q.X = 6
WScript.Echo p.X, q.X, p.Self() Is p, p Is q
' expect: 5 6 True False
Sub Take(o) : o.X = o.X + 1 : End Sub
Take p
WScript.Echo p.X
' expect: 6
Dim items : Set items = CreateObject("Scripting.Dictionary")
items.Add "one", p
items("one").X = 42
WScript.Echo p.X
' expect: 42
On Error Resume Next
Dim none : Set none = Nothing
none.X = 1
WScript.Echo Err.Number
' expect: 91
Err.Clear
Dim num : num = 5
num.X = 1
WScript.Echo Err.Number
' expect: 424
Err.Clear
p.NoSuchMember
WScript.Echo Err.Number
' expect: 438
Err.Clear
Set num = 5
WScript.Echo Err.Number
' expect: 424
