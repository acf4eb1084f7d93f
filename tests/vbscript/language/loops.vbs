Dim i, s
s = ""
For i = 1 To 5 : s = s & i : Next
WScript.Echo s, i
' expect: 12345 6
s = ""
For i = 10 To 1 Step -3 : s = s & i & " " : Next
WScript.Echo s
' expect: 10 7 4 1 
s = ""
For i = 0 To 1 Step 0.25 : s = s & i & ";" : Next
WScript.Echo s
' expect: 0;0.25;0.5;0.75;1;
For i = 5 To 1
  WScript.Echo "never"
Next
i = 0
Do While i < 3 : i = i + 1 : Loop
WScript.Echo i
' expect: 3
Do : i = i - 1 : Loop Until i <= 0
WScript.Echo i
' expect: 0
Do Until i = 2 : i = i + 1 : Loop
WScript.Echo i
' expect: 2
Do
  i = i + 1
  If i = 7 Then Exit Do
Loop
WScript.Echo i
' expect: 7
While i > 0 : i = i - 2 : Wend
WScript.Echo i
' expect: -1
For i = 1 To 10
  If i = 4 Then Exit For
Next
WScript.Echo i
' expect: 4
Dim x, y, out
For x = 1 To 3
  For y = 1 To 3
    If y = 2 Then Exit For
    out = out & x & y & " "
  Next
Next
WScript.Echo out
' expect: 11 21 31 
For Each x In Array("a", "b", "c") : WScript.Echo x : Next
' expect: a
' expect: b
' expect: c
Dim d : Set d = CreateObject("Scripting.Dictionary")
d.Add "k1", 1 : d.Add "k2", 2
For Each x In d : WScript.Echo x, d(x) : Next
' expect: k1 1
' expect: k2 2
Dim arr(1, 1)
arr(0, 0) = "a" : arr(1, 0) = "b" : arr(0, 1) = "c" : arr(1, 1) = "d"
s = ""
For Each x In arr : s = s & x : Next
WScript.Echo s
' expect: abcd
Dim total : total = 0
For i = 1 To 100000 : total = total + i : Next
WScript.Echo total
' expect: 5000050000
s = ""
For i = "1" To "3" : s = s & i : Next
WScript.Echo s, TypeName(i)
' expect: 123 Double
