' The intrinsic constants are Integer, except the colours, vbObjectError and
' the MsgBox options from vbMsgBoxHelpButton on, which are Long; a hex
' literal is Integer when it fits 16 bits unless it ends in "&". Evidence:
' validated on Windows by a third-party suite.
WScript.Echo TypeName(vbYes), TypeName(vbOK), TypeName(vbCancel), TypeName(vbOKOnly), TypeName(vbYesNo)
' expect: Integer Integer Integer Integer Integer
WScript.Echo TypeName(vbSunday), TypeName(vbSaturday), TypeName(vbFirstJan1), TypeName(vbUseSystemDayOfWeek)
' expect: Integer Integer Integer Integer
WScript.Echo TypeName(vbEmpty), TypeName(vbString), TypeName(vbArray), vbArray
' expect: Integer Integer Integer 8192
WScript.Echo TypeName(vbCritical), TypeName(vbDefaultButton4), TypeName(vbSystemModal), TypeName(vbTextCompare)
' expect: Integer Integer Integer Integer
WScript.Echo TypeName(vbGeneralDate), TypeName(vbTrue), vbTrue, TypeName(vbUseDefault), vbUseDefault
' expect: Integer Integer -1 Integer -2
WScript.Echo TypeName(vbRed), TypeName(vbWhite), TypeName(vbBlack), TypeName(vbObjectError), TypeName(vbMsgBoxRight)
' expect: Long Long Long Long Long
WScript.Echo TypeName(vbCrLf), TypeName(vbNullString)
' expect: String String
WScript.Echo TypeName(&h10), TypeName(&h10&), TypeName(&hFFFF), &hFFFF, TypeName(&h10000), &h10000
' expect: Integer Long Integer -1 Long 65536
' Integer arithmetic on constants stays Integer until it overflows.
WScript.Echo TypeName(vbYes + vbNo), TypeName(vbArray * 3), TypeName(vbArray * 3 * 2)
' expect: Integer Integer Long
