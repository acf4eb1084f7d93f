#include "simdef/PythonFormatVbs.h"

namespace srplay::simdef {

// Straight-line statements, not procedures: a script body is the inside of
// one Sub. Names start with f to stay clear of the surrounding script.
const char* python_format_block() {
  return R"VBS(fB = CDbl(1000000)
fFill = sp(0): fAlign = sp(1): fSign = sp(2): fAlt = sp(3): fZero = sp(4)
fWidth = sp(5): fGroup = sp(6): fPrec = sp(7): fType = sp(8)
fVt = VarType(fv)
If fVt = 8 Then
  fKind = "str"
ElseIf fVt = 4 Or fVt = 5 Then
  fKind = "float"
ElseIf fVt = 2 Or fVt = 3 Or fVt = 6 Or fVt = 17 Then
  fKind = "int"
Else
  Err.Raise 13, "format", "the value cannot be formatted"
End If
If fZero And fAlign = "" And fKind <> "str" Then fAlign = "="
fSgn = ""
fPre = ""
If fKind = "str" Then
  If fType <> "" And fType <> "s" Then Err.Raise 5, "format", "Unknown format code '" & fType & "' for object of type 'str'"
  If fSign <> "" Then Err.Raise 5, "format", "Sign not allowed in string format specifier"
  If fAlt Then Err.Raise 5, "format", "Alternate form (#) not allowed in string format specifier"
  If fAlign = "=" Then Err.Raise 5, "format", "'=' alignment not allowed in string format specifier"
  If fGroup <> "" Then Err.Raise 5, "format", "Cannot specify '" & fGroup & "' with 's'."
  fBody = fv
  If fPrec >= 0 Then fBody = Left(fBody, fPrec)
  If fAlign = "" Then fAlign = "<"
Else
  fNum = CDbl(fv)
  If fKind = "int" And fType <> "" Then
    If InStr("eEfFgG%", fType) > 0 Then fKind = "float"
  End If
  If fKind = "int" Then
    If fType <> "" And InStr("dnbxXoc", fType) = 0 Then Err.Raise 5, "format", "Unknown format code '" & fType & "' for object of type 'int'"
    If fPrec >= 0 Then Err.Raise 5, "format", "Precision not allowed in integer format specifier"
  Else
    If fType <> "" And InStr("eEfFgGn%", fType) = 0 Then Err.Raise 5, "format", "Unknown format code '" & fType & "' for object of type 'float'"
  End If
  If fNum < 0 Then
    fSgn = "-"
  ElseIf fSign = "+" Or fSign = " " Then
    fSgn = fSign
  End If
  fAbs = Abs(fNum)
  If fKind = "int" Then
    fBase = 10
    If fType = "b" Then fBase = 2
    If fType = "o" Then fBase = 8
    If fType = "x" Or fType = "X" Then fBase = 16
    If fType = "c" Then
      fBody = ChrW(fAbs)
    ElseIf fBase = 10 Then
      fBody = ""
      Do
        fQ = Int(fAbs / fB): fR = fAbs - fQ * fB
        If fR < 0 Then
          fQ = fQ - 1: fR = fR + fB
        End If
        If fR >= fB Then
          fQ = fQ + 1: fR = fR - fB
        End If
        fAbs = fQ
        If fAbs = 0 Then
          fBody = CStr(fR) & fBody
          Exit Do
        End If
        fBody = Right("00000" & CStr(fR), 6) & fBody
      Loop
    Else
      fBody = ""
      Do
        fQ = Int(fAbs / fBase): fR = fAbs - fQ * fBase
        fBody = Mid("0123456789abcdef", fR + 1, 1) & fBody
        fAbs = fQ
        If fAbs = 0 Then Exit Do
      Loop
      If fType = "X" Then fBody = UCase(fBody)
      If fAlt Then fPre = "0" & fType
    End If
  Else
    ' exact decimal digits of the double: 0.fDg times ten to the fDp
    If fType = "%" Then fAbs = fAbs * 100
    fDg = ""
    fDp = 1
    If fAbs <> 0 Then
      fE2 = 0
      Do While fAbs >= 9007199254740992
        fAbs = fAbs / 2: fE2 = fE2 + 1
      Loop
      Do While fAbs < 4503599627370496
        fAbs = fAbs * 2: fE2 = fE2 - 1
      Loop
      ReDim fL(0)
      fN = 0
      Do
        fQ = Int(fAbs / fB): fR = fAbs - fQ * fB
        If fR < 0 Then
          fQ = fQ - 1: fR = fR + fB
        End If
        If fR >= fB Then
          fQ = fQ + 1: fR = fR - fB
        End If
        fL(fN) = fR: fAbs = fQ
        If fAbs = 0 Then Exit Do
        fN = fN + 1
        ReDim Preserve fL(fN)
      Loop
      fK = Abs(fE2)
      Do While fK > 0
        If fE2 > 0 Then
          If fK >= 20 Then
            fM = CDbl(1048576): fK = fK - 20
          Else
            fM = 2 ^ fK: fK = 0
          End If
        Else
          If fK >= 9 Then
            fM = CDbl(1953125): fK = fK - 9
          Else
            fM = 5 ^ fK: fK = 0
          End If
        End If
        fC = 0
        For fI = 0 To fN
          fT = fL(fI) * fM + fC
          fQ = Int(fT / fB): fR = fT - fQ * fB
          If fR < 0 Then
            fQ = fQ - 1: fR = fR + fB
          End If
          If fR >= fB Then
            fQ = fQ + 1: fR = fR - fB
          End If
          fL(fI) = fR: fC = fQ
        Next
        Do While fC > 0
          fQ = Int(fC / fB): fR = fC - fQ * fB
          If fR < 0 Then
            fQ = fQ - 1: fR = fR + fB
          End If
          If fR >= fB Then
            fQ = fQ + 1: fR = fR - fB
          End If
          fN = fN + 1
          ReDim Preserve fL(fN)
          fL(fN) = fR: fC = fQ
        Loop
      Loop
      fDg = CStr(fL(fN))
      For fI = fN - 1 To 0 Step -1
        fDg = fDg & Right("00000" & CStr(fL(fI)), 6)
      Next
      fDp = Len(fDg)
      If fE2 < 0 Then fDp = fDp + fE2
      Do While Right(fDg, 1) = "0"
        fDg = Left(fDg, Len(fDg) - 1)
      Loop
    End If
    ' how many digits to keep; the shortest that reads back when no precision is given
    fMode = fType
    If fMode = "n" Then fMode = "g"
    If fMode = "F" Or fMode = "%" Then fMode = "f"
    If fMode = "E" Then fMode = "e"
    If fMode = "G" Then fMode = "g"
    fP = fPrec
    If fMode = "" And fP < 0 Then fMode = "r"
    If fP < 0 Then fP = 6
    If fMode = "" Or fMode = "g" Then
      If fP = 0 Then fP = 1
    End If
    fFrom = fP: fTo = fP
    If fMode = "f" Then
      fFrom = fDp + fP: fTo = fFrom
    ElseIf fMode = "e" Then
      fFrom = fP + 1: fTo = fFrom
    ElseIf fMode = "r" Then
      fFrom = 1: fTo = 17
    End If
    For fNd = fFrom To fTo
      If fNd >= Len(fDg) Then
        fRd = fDg & String(fNd - Len(fDg), "0"): fRp = fDp
      ElseIf fNd < 0 Then
        fRd = "": fRp = fDp - fNd
      Else
        fRd = Left(fDg, fNd): fRest = Mid(fDg, fNd + 1): fRp = fDp
        fUp = False
        If Left(fRest, 1) > "5" Then
          fUp = True
        ElseIf Left(fRest, 1) = "5" Then
          If Len(Mid(fRest, 2)) > 0 Then
            fUp = True
          ElseIf fNd > 0 Then
            fUp = (CInt(Right(fRd, 1)) Mod 2 = 1)
          End If
        End If
        If fUp Then
          fI = Len(fRd)
          Do While fI > 0
            If Mid(fRd, fI, 1) = "9" Then
              fRd = Left(fRd, fI - 1) & "0" & Mid(fRd, fI + 1): fI = fI - 1
            Else
              fRd = Left(fRd, fI - 1) & CStr(CInt(Mid(fRd, fI, 1)) + 1) & Mid(fRd, fI + 1)
              Exit Do
            End If
          Loop
          If fI = 0 Then
            fRd = "1" & fRd: fRp = fRp + 1
          End If
        End If
      End If
      If fMode <> "r" Then Exit For
      If fDg = "" Then Exit For
      ' a candidate beyond the largest Double overflows: it does not read back
      On Error Resume Next
      fBack = (CDbl("0." & fRd & "E" & CStr(fRp)) = Abs(fNum))
      If Err.Number <> 0 Then fBack = False
      On Error GoTo 0
      If fBack Then Exit For
    Next
    fX = fRp - 1
    If Len(Replace(fRd, "0", "")) = 0 Then fX = 0
    ' fixed or scientific, and how many decimals
    fSci = (fMode = "e")
    fStrip = False
    fKeepOne = False
    If fMode = "g" Or fMode = "" Then
      fLimit = fP
      If fMode = "" Then fLimit = fP - 1
      If fX < -4 Or fX >= fLimit Then
        fSci = True: fDec = fP - 1
      Else
        fDec = fP - 1 - fX
      End If
      fStrip = Not fAlt
      fKeepOne = (fMode = "")
    ElseIf fMode = "r" Then
      If fX < -4 Or fX >= 16 Then
        fSci = True: fDec = Len(fRd) - 1
      Else
        fDec = Len(fRd) - 1 - fX
        If fDec < 1 Then fDec = 1
      End If
      fStrip = True
      fKeepOne = True
    Else
      fDec = fP
    End If
    If fSci Then
      fRd = fRd & String(fDec + 1, "0")
      fIp = Left(fRd, 1): fFp = Mid(fRd, 2, fDec)
    Else
      fIp = "0"
      If fRp > 0 Then fIp = Left(fRd & String(fRp, "0"), fRp)
      fFp = ""
      For fI = 1 To fDec
        fW = fRp + fI
        If fW >= 1 And fW <= Len(fRd) Then
          fFp = fFp & Mid(fRd, fW, 1)
        Else
          fFp = fFp & "0"
        End If
      Next
    End If
    If fStrip Then
      Do While Right(fFp, 1) = "0"
        fFp = Left(fFp, Len(fFp) - 1)
      Loop
      If fKeepOne And fFp = "" And Not fSci Then fFp = "0"
    End If
    fBody = fIp
    If fFp <> "" Or fAlt Then fBody = fBody & "." & fFp
    If fSci Then
      If fX < 0 Then
        fBody = fBody & "e-"
      Else
        fBody = fBody & "e+"
      End If
      fEx = CStr(Abs(fX))
      If Len(fEx) < 2 Then fEx = "0" & fEx
      fBody = fBody & fEx
    End If
    If fType = "E" Or fType = "G" Or fType = "F" Then fBody = UCase(fBody)
    If fType = "%" Then fBody = fBody & "%"
  End If
  If fGroup <> "" Then
    fIp = fBody
    fTail = ""
    fI = 1
    Do While fI <= Len(fBody)
      If InStr("0123456789abcdefABCDEF", Mid(fBody, fI, 1)) = 0 Then Exit Do
      If fKind = "float" And InStr("eE", Mid(fBody, fI, 1)) > 0 Then Exit Do
      fI = fI + 1
    Loop
    fIp = Left(fBody, fI - 1): fTail = Mid(fBody, fI)
    fEvery = 3
    If fKind = "int" And fBase <> 10 Then fEvery = 4
    fGrouped = ""
    Do While Len(fIp) > fEvery
      fGrouped = fGroup & Right(fIp, fEvery) & fGrouped
      fIp = Left(fIp, Len(fIp) - fEvery)
    Loop
    fBody = fIp & fGrouped & fTail
  End If
  If fAlign = "" Then fAlign = ">"
End If
fs = fSgn & fPre & fBody
If Len(fs) < fWidth Then
  fPad = fWidth - Len(fs)
  If fAlign = "<" Then
    fs = fs & String(fPad, fFill)
  ElseIf fAlign = "^" Then
    fs = String(fPad \ 2, fFill) & fs & String(fPad - fPad \ 2, fFill)
  ElseIf fAlign = "=" Then
    fs = fSgn & fPre & String(fPad, fFill) & fBody
  Else
    fs = String(fPad, fFill) & fs
  End If
End If
)VBS";
}

}  // namespace srplay::simdef
