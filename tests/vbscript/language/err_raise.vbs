' Err.Raise details. Evidence: the Microsoft page of the Raise method
' (arguments left out take the Err object's values that were not cleared;
' helpfile and helpcontext are kept) and, for the numbers, validated on
' Windows by a third-party suite (a bare Raise is 450, 0 and numbers past
' 65535 become 5, HRESULTs VBScript knows become its own numbers).
On Error Resume Next
Err.Raise 1, 2, "desc", "hf", 7
WScript.Echo Err.Number, Err.Source, Err.Description, Err.HelpFile, Err.HelpContext, TypeName(Err.HelpContext)
' expect: 1 2 desc hf 7 Long
Err.Raise 5
WScript.Echo Err.Number, Err.Source, Err.Description, Err.HelpFile, Err.HelpContext
' expect: 5 2 desc hf 7
Err.Clear
WScript.Echo "[" & Err.Source & "][" & Err.Description & "][" & Err.HelpFile & "]", Err.HelpContext
' expect: [][][] 0
Err.Raise 1, "abc"
WScript.Echo Err.Source, Err.Description, "[" & Err.HelpFile & "]"
' expect: abc Unknown runtime error []
Err.Raise &h8007000E&
WScript.Echo Err.Number, Err.Source, Err.Description
' expect: 7 abc Unknown runtime error
Err.Clear
Err.Raise &h8007000E&
WScript.Echo Err.Number, Err.Source, Err.Description
' expect: 7 Microsoft VBScript runtime error Out of memory
' A run-time error replaces everything Raise left, help included.
Err.Raise 1, 2, "desc", "hf", 7
Err.NoSuchMember
WScript.Echo Err.Number, Err.Description, "[" & Err.HelpFile & "]", Err.HelpContext
' expect: 438 Object doesn't support this property or method [] 0
Err.HelpFile = "x.chm"
Err.HelpContext = 12
WScript.Echo Err.HelpFile, Err.HelpContext
' expect: x.chm 12
Err.Clear

' Numbers.
Err.Raise
WScript.Echo Err.Number
' expect: 450
Err.Clear
Err.Raise 0
WScript.Echo Err.Number
' expect: 5
Err.Clear
Err.Raise &h10000&
WScript.Echo Err.Number
' expect: 5
Err.Clear
Err.Raise -3000000000
WScript.Echo Err.Number
' expect: 6
Err.Clear
Err.Raise &h8000
WScript.Echo Err.Number
' expect: -32768
Err.Clear
Err.Raise -&hfff0
WScript.Echo Err.Number
' expect: 16
Err.Clear
Err.Raise 65535
WScript.Echo Err.Number
' expect: 65535
Err.Clear
Err.Raise vbObjectError + 513
WScript.Echo Err.Number = vbObjectError + 513
' expect: True

' HRESULTs VBScript maps to its own numbers, with their descriptions.
Dim pairs, i
pairs = Array(&h80004001, 445, &h80004002, 430, &h80020003, 438, &h80020004, 448, _
              &h80020005, 13, &h80020008, 458, &h8002000B, 9, &h8002000C, 447, _
              &h8002000E, 450, &h8002000F, 449, &h80020011, 451, &h8002802F, 453, _
              &h80028CA2, 57, &h80028CA3, 322, &h80030002, 432, &h80030003, 76, _
              &h80030004, 67, &h80030005, 70, &h80030020, 75, &h80030050, 58, _
              &h80030070, 61, &h800300FC, 53, &h80040154, 429, &h800401E6, 432, _
              &h80070005, 70, &h80070057, 5, &h800706BA, 462, &h80080005, 429)
Dim wrong : wrong = ""
For i = 0 To UBound(pairs) Step 2
  Err.Clear
  Err.Raise pairs(i)
  If Err.Number <> pairs(i + 1) Then wrong = wrong & " " & Hex(pairs(i)) & "->" & Err.Number
Next
WScript.Echo "[" & wrong & "]"
' expect: []
Err.Clear
Err.Raise &h80004001
WScript.Echo Err.Description
' expect: Object doesn't support this action
Err.Clear
Err.Raise &h80030005
WScript.Echo Err.Description
' expect: Permission denied
Err.Clear
' Not in the table: the number stays.
Err.Raise &h80004005
WScript.Echo Hex(Err.Number)
' expect: 80004005
