' SetLocale, GetLocale, Escape, Unescape, RGB, the byte functions, the
' ScriptEngine family and the MsgBox constants vbMsgBoxHelpButton ...
' vbMsgBoxRtlReading. Results come from their Microsoft documentation pages
' (VBScript Language Reference) unless a case says otherwise.

' GetLocale answers the engine's locale, 1033 (0x409, English - United
' States). SetLocale "sets the global locale and returns the previous
' locale"; lcid takes a number or a short string of the Locale ID chart
' (en-gb 2057, de 1031), and 0 selects the system setting, here 0x409.
WScript.Echo GetLocale, TypeName(GetLocale)
' expect: 1033 Long
WScript.Echo SetLocale(2057), GetLocale, SetLocale("de"), GetLocale, SetLocale(0), GetLocale
' expect: 1033 2057 2057 1031 1031 1033
' Our decision: another locale is remembered but numbers keep the 0x409
' format, and a string that is no locale raises 5.
SetLocale "fr-fr"
WScript.Echo CStr(1.5), GetLocale
' expect: 1.5 1036
On Error Resume Next
SetLocale "no-such-locale"
WScript.Echo Err.Number, GetLocale
' expect: 5 1036
Err.Clear
On Error GoTo 0
SetLocale 1033

' Escape: spaces, punctuation and accented characters become %xx, above 255
' %uxxxx. The punctuation left alone (@*_+-./) is that of the JScript
' escape method the page refers to (ECMAScript's escape).
WScript.Echo Escape("a b+c@d*e_f-g.h/i:j")
' expect: a%20b+c@d*e_f-g.h/i%3Aj
WScript.Echo Escape("caf" & ChrW(233) & " " & ChrW(&h20AC))
' expect: caf%E9%20%u20AC
' Unescape decodes what Escape encodes; a % that starts no code stays.
WScript.Echo Unescape("%41%u20AC") = "A" & ChrW(&h20AC), Unescape("100%"), Unescape("%4g")
' expect: True 100% %4g
Dim s : s = "x <y> & " & ChrW(1234) & ChrW(200)
WScript.Echo Unescape(Escape(s)) = s
' expect: True

' RGB: red in the low-order byte, blue in the high; an argument above 255
' counts as 255. Long, and 5 for a negative component: validated on Windows
' by a third-party suite.
WScript.Echo RGB(255, 0, 0), RGB(255, 30, 30), RGB(0, 0, 255) = vbBlue, RGB(300, 1, 0), TypeName(RGB(1, 2, 3))
' expect: 255 1974015 True 511 Long
On Error Resume Next
Dim c : c = RGB(-1, 0, 0)
WScript.Echo Err.Number
' expect: 5
Err.Clear
On Error GoTo 0

' The B functions count bytes of the string, two per character: InStrB
' gives the byte position, LenB the byte count, LeftB/RightB/MidB take byte
' counts and positions, AscB the first byte.
WScript.Echo InStrB("abc", "b"), InStrB(1, "aBc", "b", 1), InStrB(4, "abc", "b"), InStrB("abc", ""), TypeName(InStrB("a", "a"))
' expect: 3 3 0 1 Long
WScript.Echo LenB("abc"), LeftB("abcd", 4), RightB("abcd", 2), MidB("abcd", 3, 2), AscB("A"), AscB(ChrB(66))
' expect: 6 ab d b 65 66
WScript.Echo IsNull(InStrB(Null, "a")), IsNull(LenB(Null))
' expect: True True

' ScriptEngine names the language; the version functions answer numbers
' (Long: validated on Windows by a third-party suite).
WScript.Echo ScriptEngine, TypeName(ScriptEngineMajorVersion), TypeName(ScriptEngineMinorVersion), TypeName(ScriptEngineBuildVersion)
' expect: VBScript Long Long Long
WScript.Echo Left(ScriptEngine & " Version " & ScriptEngineMajorVersion & "." & ScriptEngineMinorVersion, 18)
' expect: VBScript Version 5

' MsgBox constants: values from the constants table; Long (validated on
' Windows by a third-party suite).
WScript.Echo vbMsgBoxHelpButton, vbMsgBoxSetForeground, vbMsgBoxRight, vbMsgBoxRtlReading, TypeName(vbMsgBoxHelpButton)
' expect: 16384 65536 524288 1048576 Long
