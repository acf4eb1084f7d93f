' A channel class with validated properties and a default member.
Class Channel
  Private m_range, m_name
  Private Sub Class_Initialize()
    m_range = 10 : m_name = "CH1"
  End Sub
  Public Property Get Range() : Range = m_range : End Property
  Public Property Let Range(v)
    If v <= 0 Then Err.Raise vbObjectError + 513, "Channel", "Range must be positive"
    m_range = v
  End Property
  Public Property Get Name()
    Name = m_name
  End Property
  Public Function Describe()
    Describe = m_name & ":" & m_range
  End Function
  Public Default Function Value()
    Value = m_range * 2
  End Function
End Class
Dim ch : Set ch = New Channel
ch.Range = 20
WScript.Echo ch.Range, ch.Name, ch.Describe(), ch
' expect: 20 CH1 CH1:20 40
On Error Resume Next
ch.Range = -1
WScript.Echo Err.Number - vbObjectError, Err.Source, Err.Description
' expect: 513 Channel Range must be positive
WScript.Echo Hex(Err.Number), Err.Number, ch.Range
' expect: 80040201 -2147220991 20
On Error GoTo 0
Dim objs(1)
Set objs(0) = New Channel
objs(0).Range = 5
WScript.Echo objs(0).Range, objs(0).Describe
' expect: 5 CH1:5
With objs(0)
  .Range = 7
  WScript.Echo .Range
End With
' expect: 7
WScript.Echo IsObject(objs(0)), IsEmpty(objs(1)), TypeName(objs(0))
' expect: True True Channel
