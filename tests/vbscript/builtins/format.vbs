' FormatNumber, FormatPercent and FormatCurrency with en-US conventions and
' the tristate arguments (-1 true, 0 false, -2 default).
WScript.Echo FormatNumber(1234.5) & " | " & FormatNumber(-1234567.891, 1) & " | " & FormatNumber(0.5, 2, 0) & " | " & FormatNumber(-5, 0, -2, -1)
' expect: 1,234.50 | -1,234,567.9 | .50 | (5)
WScript.Echo FormatNumber(1234.5, 0, -2, -2, 0) & " | " & FormatNumber("12") & " | " & FormatNumber(2.675, 2) & " | " & FormatNumber(999.996)
' expect: 1235 | 12.00 | 2.68 | 1,000.00
WScript.Echo FormatPercent(0.256) & " | " & FormatPercent(0.256, 0) & " | " & FormatPercent(-0.5, 1)
' expect: 25.60% | 26% | -50.0%
WScript.Echo FormatCurrency(1234.567) & " | " & FormatCurrency(-1234.5) & " | " & FormatCurrency(-1234.5, 0, -2, 0)
' expect: $1,234.57 | ($1,234.50) | -$1,235

On Error Resume Next
x = FormatNumber("abc")
WScript.Echo "text: " & Err.Number
' expect: text: 13
Err.Clear
x = FormatNumber(Null)
WScript.Echo "Null: " & Err.Number
' expect: Null: 94
