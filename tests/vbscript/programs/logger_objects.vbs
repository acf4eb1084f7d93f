' Objects held by other objects: Property Set, Me, Class_Terminate.
Class Logger
  Private lines
  Private Sub Class_Initialize() : Set lines = CreateObject("Scripting.Dictionary") : End Sub
  Private Sub Class_Terminate() : WScript.Echo "logger closed", lines.Count : End Sub
  Public Sub Log(msg) : lines.Add lines.Count, msg : End Sub
  Public Property Get Last() : Last = lines(lines.Count - 1) : End Property
  Public Property Get Self() : Set Self = Me : End Property
End Class
Class Instrument
  Private m_log, m_addr
  Public Timeout
  Public Property Set Log(o) : Set m_log = o : End Property
  Public Property Get Log() : Set Log = m_log : End Property
  Public Property Let Address(a)
    m_addr = a
    m_log.Log "address " & a
  End Property
  Public Property Get Address() : Address = m_addr : End Property
End Class
Dim inst : Set inst = New Instrument
Set inst.Log = New Logger
inst.Address = "GPIB0::5"
inst.Timeout = 2000
WScript.Echo inst.Address, inst.Timeout, inst.Log.Last, inst.Log.Self.Last
' expect: GPIB0::5 2000 address GPIB0::5 address GPIB0::5
WScript.Echo TypeName(inst.Log), IsEmpty(inst.Timeout)
' expect: Logger False
Set inst = Nothing
WScript.Echo "end"
' expect: logger closed 1
' expect: end
Class Cfg
  Private m_v
  Public Property Get V()
    If IsEmpty(m_v) Then V = "unset" : Exit Property
    V = m_v
  End Property
  Public Property Let V(x) : m_v = x : End Property
End Class
Dim c : Set c = New Cfg
WScript.Echo c.V
c.V = 4
WScript.Echo c.V
' expect: unset
' expect: 4
