' CInt past the Integer range overflows; addition widens instead.
WScript.Echo 32767 + 1
' expect: 32768
Dim x : x = CInt(40000)
' expect error: 6
