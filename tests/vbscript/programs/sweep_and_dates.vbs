' A voltage sweep with a fractional step, a checksum, and time stamps.
Dim f, cnt
For f = 0 To 1 Step 0.1 : cnt = cnt + 1 : Next
WScript.Echo cnt, f
' expect: 11 1.1
Dim volts, line
For volts = 2.5 To 0 Step -1.25
  line = line & FormatNumber(volts, 2) & ";"
Next
WScript.Echo line
' expect: 2.50;1.25;0.00;
Function Checksum(s)
  Dim i, sum
  For i = 1 To Len(s) : sum = (sum + Asc(Mid(s, i, 1))) Mod 256 : Next
  Checksum = Right("0" & Hex(sum), 2)
End Function
WScript.Echo Checksum("*IDN?"), Checksum("")
' expect: 44 00
WScript.Echo CStr(#1/2/2024#), Year(#3/4/2025#), Month(#3/4/2025#), Day(#3/4/2025#)
' expect: 1/2/2024 2025 3 4
WScript.Echo DateAdd("d", 30, #1/15/2024#), DateDiff("d", #1/1/2024#, #3/1/2024#)
' expect: 2/14/2024 60
WScript.Echo DateSerial(2024, 1, 31) + 1, DateAdd("m", 1, #1/31/2024#), DateDiff("h", #1/1/2024#, #1/2/2024 6:00#)
' expect: 2/1/2024 2/29/2024 30
WScript.Echo FormatDateTime(#1/2/2024 13:45:10#, 4), TimeSerial(1, 2, 3), DateSerial(2024, 2, 30)
' expect: 13:45 1:02:03 AM 3/1/2024
WScript.Echo Weekday(#1/1/2024#), MonthName(2), WeekdayName(1)
' expect: 2 February Sunday
