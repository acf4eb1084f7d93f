Class Counter
  Private m_count
  Public Name
  Private Sub Class_Initialize()
    m_count = 0
    Name = "counter"
  End Sub
  Private Sub Class_Terminate()
    WScript.Echo "terminate " & Name
  End Sub
  Public Property Get Count()
    Count = m_count
  End Property
  Public Property Let Count(v)
    If v < 0 Then Err.Raise 5
    m_count = v
  End Property
  Public Sub Add(n)
    m_count = m_count + n
  End Sub
  Public Function Twice()
    Twice = Me.Count * 2
  End Function
End Class

Dim c : Set c = New Counter
c.Add 5
c.Count = c.Count + 1
WScript.Echo c.Count, c.Twice(), c.Name, TypeName(c), IsObject(c)
' expect: 6 12 counter Counter True
Dim c2 : Set c2 = c
c2.Name = "shared"
WScript.Echo c.Name
' expect: shared
Set c2 = Nothing
Set c = Nothing
' expect: terminate shared
WScript.Echo "after"
' expect: after

Class Item
  Public Value
  Public Default Property Get Text()
    Text = "item:" & Value
  End Property
End Class
Dim it : Set it = New Item
it.Value = 3
WScript.Echo it, it.Text
' expect: item:3 item:3
Dim s : s = it
WScript.Echo s
' expect: item:3

Class Node
  Public NextNode
  Public Data
End Class
Dim head, n, i
Set head = Nothing
For i = 1 To 3
  Set n = New Node
  n.Data = i
  Set n.NextNode = head
  Set head = n
Next
Dim walk : Set walk = head
Do Until walk Is Nothing
  WScript.Echo walk.Data
  Set walk = walk.NextNode
Loop
' expect: 3
' expect: 2
' expect: 1

Class Box
  Private items(2)
  Public Property Get Item(i) : Item = items(i) : End Property
  Public Property Let Item(i, v) : items(i) = v : End Property
  Public Property Set Obj(o) : Set items(0) = o : End Property
  Public Property Get Obj() : Set Obj = items(0) : End Property
End Class
Dim b : Set b = New Box
b.Item(1) = "one"
WScript.Echo b.Item(1)
' expect: one
Set b.Obj = it
WScript.Echo b.Obj.Value
' expect: 3
