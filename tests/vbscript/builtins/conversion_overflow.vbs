' An overflowing conversion outside On Error Resume Next stops the script.
WScript.Echo CInt(40000)
' expect error: 6
