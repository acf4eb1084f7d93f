' IsXxx, TypeName and VarType over every kind of value.
Dim e
WScript.Echo IsEmpty(e) & " " & IsEmpty("") & " " & IsNull(Null) & " " & IsNull(e)
' expect: True False True False
WScript.Echo IsNumeric("12.5") & " " & IsNumeric("12a") & " " & IsNumeric(e) & " " & IsNumeric(Null) & " " & IsNumeric("") & " " & IsNumeric(True)
' expect: True False True False False True
WScript.Echo IsDate("1/15/2020") & " " & IsDate("hello") & " " & IsDate(1) & " " & IsDate(Now)
' expect: True False False True
Set o = CreateObject("Scripting.Dictionary")
Set n = Nothing
WScript.Echo IsObject(o) & " " & IsObject(n) & " " & IsObject(1)
' expect: True True False
WScript.Echo TypeName(e) & " " & TypeName(Null) & " " & TypeName(1) & " " & TypeName(40000) & " " & TypeName(1.5) & " " & TypeName("s") & " " & TypeName(True)
' expect: Empty Null Integer Long Double String Boolean
WScript.Echo TypeName(o) & " " & TypeName(n) & " " & TypeName(Array()) & " " & TypeName(CCur(1)) & " " & TypeName(#1/1/2020#) & " " & TypeName(CByte(1)) & " " & TypeName(CSng(1))
' expect: Dictionary Nothing Variant() Currency Date Byte Single
WScript.Echo VarType(e) & " " & VarType(Null) & " " & VarType(1) & " " & VarType(40000) & " " & VarType("s") & " " & VarType(Array()) & " " & VarType(o) & " " & VarType(True) & " " & VarType(1.5)
' expect: 0 1 2 3 8 8204 9 11 5
