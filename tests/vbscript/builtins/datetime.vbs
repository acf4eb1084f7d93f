' Date and time functions: serial roll-over, month-end clamping, boundary
' counting and the en-US formats.
d = DateSerial(2020, 2, 15)
WScript.Echo Year(d) & " " & Month(d) & " " & Day(d) & " " & Weekday(d) & " " & WeekdayName(Weekday(d)) & " " & MonthName(Month(d))
' expect: 2020 2 15 7 Saturday February
WScript.Echo FormatDateTime(DateSerial(2019, 13, 1), 2) & " " & FormatDateTime(DateSerial(2020, 3, 0), 2) & " " & FormatDateTime(DateSerial(99, 1, 1), 2) & " " & FormatDateTime(DateSerial(29, 1, 1), 2)
' expect: 1/1/2020 2/29/2020 1/1/1999 1/1/2029
t = TimeSerial(13, 14, 15)
WScript.Echo Hour(t) & ":" & Minute(t) & ":" & Second(t) & " " & FormatDateTime(t, 3) & " " & FormatDateTime(t, 4)
' expect: 13:14:15 1:14:15 PM 13:14
WScript.Echo FormatDateTime(DateAdd("m", 1, DateSerial(2020, 1, 31)), 2) & " " & FormatDateTime(DateAdd("yyyy", 1, DateSerial(2020, 2, 29)), 2) & " " & FormatDateTime(DateAdd("d", -1, DateSerial(2020, 1, 1)), 2) & " " & FormatDateTime(DateAdd("h", 36, d), 0)
' expect: 2/29/2020 2/28/2021 12/31/2019 2/16/2020 12:00:00 PM
WScript.Echo DateDiff("d", DateSerial(2020, 1, 1), DateSerial(2020, 3, 1)) & " " & DateDiff("m", DateSerial(2019, 12, 31), DateSerial(2020, 1, 1)) & " " & DateDiff("yyyy", DateSerial(2019, 12, 31), DateSerial(2020, 1, 1)) & " " & DateDiff("h", TimeSerial(10, 59, 0), TimeSerial(11, 0, 0)) & " " & DateDiff("d", DateSerial(2020, 3, 1), DateSerial(2020, 1, 1))
' expect: 60 1 1 1 -60
WScript.Echo DatePart("q", d) & " " & DatePart("y", d) & " " & DatePart("ww", d) & " " & DatePart("w", d, 2) & " " & DatePart("yyyy", d)
' expect: 1 46 7 6 2020
WScript.Echo FormatDateTime(d, 1) & " | " & FormatDateTime(d + TimeSerial(13, 30, 0), 0) & " | " & FormatDateTime(d, 0)
' expect: Saturday, February 15, 2020 | 2/15/2020 1:30:00 PM | 2/15/2020
WScript.Echo FormatDateTime(DateValue(d + 0.75), 2) & " " & FormatDateTime(TimeValue(d + 0.75), 3)
' expect: 2/15/2020 6:00:00 PM
WScript.Echo MonthName(12, True) & " " & WeekdayName(1, True, 2) & " " & IsNull(Year(Null)) & " " & Year(DateValue("March 5, 2021"))
' expect: Dec Mon True 2021
WScript.Echo TypeName(Now) & " " & TypeName(Date) & " " & TypeName(Time) & " " & TypeName(Timer) & " " & (Timer >= 0 And Timer < 86400)
' expect: Date Date Date Single True

On Error Resume Next
x = DateAdd("x", 1, d)
WScript.Echo "interval x: " & Err.Number
' expect: interval x: 5
Err.Clear
x = MonthName(13)
WScript.Echo "MonthName(13): " & Err.Number
' expect: MonthName(13): 5
Err.Clear
x = DateSerial(10000, 1, 1)
WScript.Echo "year 10000: " & Err.Number
' expect: year 10000: 5
Err.Clear
x = Year("not a date")
WScript.Echo "Year of text: " & Err.Number
' expect: Year of text: 13
