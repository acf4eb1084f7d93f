Sub Inc(n)
  n = n + 1
End Sub
Sub IncVal(ByVal n)
  n = n + 1
End Sub
Dim a : a = 1
Inc a
WScript.Echo a
' expect: 2
IncVal a
WScript.Echo a
' expect: 2
Inc (a)
WScript.Echo a
' expect: 2
Call Inc(a)
WScript.Echo a
' expect: 3
Dim arr(2) : arr(1) = 10
Inc arr(1)
WScript.Echo arr(1)
' expect: 11
Function Fact(n)
  If n <= 1 Then
    Fact = 1
  Else
    Fact = n * Fact(n - 1)
  End If
End Function
WScript.Echo Fact(10)
' expect: 3628800
Function Twice(x) : Twice = x * 2 : End Function
WScript.Echo Twice(Twice(3))
' expect: 12
Function Early(x)
  Early = "small"
  If x < 5 Then Exit Function
  Early = "big"
End Function
WScript.Echo Early(1), Early(9)
' expect: small big
Sub Swap(p, q)
  Dim t : t = p : p = q : q = t
End Sub
Dim m, n : m = "left" : n = "right"
Swap m, n
WScript.Echo m, n
' expect: right left
Function NoArgs() : NoArgs = "called" : End Function
WScript.Echo NoArgs, NoArgs()
' expect: called called
Sub Show(a, b) : WScript.Echo a & "-" & b : End Sub
Show 1, 2
' expect: 1-2
Show (1) + 1, 3
' expect: 2-3
Function ArrayCopy(v) : v(0) = "changed" : ArrayCopy = v(0) : End Function
Dim src : src = Array("orig")
Dim cp : cp = src
cp(0) = "copy"
WScript.Echo src(0), cp(0)
' expect: orig copy
