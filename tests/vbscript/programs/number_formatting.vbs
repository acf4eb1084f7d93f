' How numbers print: fifteen significant digits, exponent past that range.
WScript.Echo CStr(3.0), CStr(0.1 + 0.2), CStr(1/3), CStr(1E+20), CStr(1E-5), CStr(123456789012345)
' expect: 3 0.3 0.333333333333333 1E+20 0.00001 123456789012345
WScript.Echo 1.5E+15, 1E+16, 2^53, 100000 * 100000
' expect: 1.5E+15 1E+16 9.00719925474099E+15 10000000000
WScript.Echo 0.000123, 123456789012345678, 0.1 + 0.7, 1/7
' expect: 0.000123 1.23456789012346E+17 0.8 0.142857142857143
WScript.Echo CSng("0.01") + 0.01, CDbl(CSng(1.1)), 1 - 0.9, 3 * 1.1
' expect: 1.99999997764826E-02 1.10000002384186 0.1 3.3
WScript.Echo FormatNumber(1234567.891), FormatNumber(0.5, 0), FormatNumber(1234.5, 2, , , False)
' expect: 1,234,567.89 1 1234.50
WScript.Echo FormatNumber(0.123, 2, False), FormatNumber(-1234.567, 2, , True), FormatNumber(1E+20, 0)
' expect: .12 (1,234.57) 100,000,000,000,000,000,000
WScript.Echo FormatPercent(0.256), FormatCurrency(12.5), FormatNumber("1234.5", 1)
' expect: 25.60% $12.50 1,234.5
WScript.Echo Round(2.5), Round(3.5), Round(-2.5), Round(0.125, 2), Round(1.005, 2)
' expect: 2 4 -2 0.12 1
WScript.Echo Int(-2.5), Fix(-2.5), CInt(2.5), CInt(3.5), CLng(-2.5), CInt("&H10")
' expect: -3 -2 2 4 -2 16
WScript.Echo Hex(255), Hex(-1), Oct(8), Right("0000" & Hex(42), 4), Right("00" & 7, 2)
' expect: FF FFFF 10 002A 07
WScript.Echo TypeName(32767 + 1), TypeName(2147483647 + 1), TypeName(5 \ 2), TypeName(CByte(200) + CByte(100))
' expect: Long Double Integer Integer
WScript.Echo 7 \ 2, -7 \ 2, 7 Mod 3, -7 Mod 3, 7.6 Mod 3, 10 / 4
' expect: 3 -3 1 -1 2 2.5
WScript.Echo "5" + 3, "5" & 3, "10" > "9", 10 > "9", "12.50" * 2
' expect: 8 53 False False 25
